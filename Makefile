# The whole set-up on a fresh Debian or Ubuntu machine:
#   make play   installs what is missing, builds build/torami and plays the demo game
#   make test   installs what is missing, builds and runs every test, then again under
#               AddressSanitizer and UndefinedBehaviorSanitizer
#   make fuzz   builds the libFuzzer targets of tests/fuzz with clang and runs each for
#               FUZZ_SECONDS (FUZZ_TARGETS="wave picture" picks some; see scripts/run-fuzz)
# The 64-bit Windows build (cross-compiled with MinGW-w64, tested under Wine):
#   make windows       builds build-windows/torami-windows.zip
#   make test-windows  runs the Windows build's tests under Wine, and compares its demo
#                      play-throughs and its window with the Linux build's
# The Debian package:
#   make deb           builds build-deb/torami_VERSION_ARCH.deb (Release, installed to /usr)
#   make test-deb      builds it, unpacks it and plays the demo from there, checks the
#                      desktop entry and the file types, and runs lintian on it
JOBS ?= $(shell nproc 2>/dev/null || echo 2)
CTEST_FLAGS ?= --output-on-failure -j $(JOBS)
FUZZ_SECONDS ?= 60
FUZZ_TARGETS ?=

WINDOWS_TOOLCHAIN = $(or $(TORAMI_CACHE),$(HOME)/.cache/torami)/windows/toolchain.cmake

.PHONY: all play test deps test-deps build fuzz clean \
	windows test-windows clean-web deb test-deb

all: build

deps:
	@scripts/install-deps

test-deps:
	@scripts/install-deps --test

build: deps
	@cmake -S . -B build -DCMAKE_BUILD_TYPE=Release -DTORAMI_TESTS=OFF >/dev/null
	@cmake --build build -j $(JOBS) --target torami

play: build
	./build/torami demo

test: test-deps
	cmake -S . -B build -DCMAKE_BUILD_TYPE=Release -DTORAMI_TESTS=ON >/dev/null
	cmake --build build -j $(JOBS)
	cd build && ctest $(CTEST_FLAGS)
	cmake -S . -B build-asan -DCMAKE_BUILD_TYPE=Debug -DTORAMI_SANITIZE=ON -DTORAMI_TESTS=ON >/dev/null
	cmake --build build-asan -j $(JOBS)
	cd build-asan && ASAN_OPTIONS=detect_leaks=1 LSAN_OPTIONS=suppressions=$(CURDIR)/tests/lsan.supp UBSAN_OPTIONS=print_stacktrace=1 ctest $(CTEST_FLAGS)

fuzz:
	@scripts/install-deps --fuzz
	cmake -S . -B build-fuzz -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTORAMI_FUZZ=ON -DTORAMI_TESTS=OFF >/dev/null
	cmake --build build-fuzz -j $(JOBS) --target fuzz_targets
	scripts/run-fuzz build-fuzz $(FUZZ_SECONDS) $(FUZZ_TARGETS)

# The port libraries come from scripts/port-deps (built once, then cached outside the clone).
define configure-windows
	@scripts/port-deps windows
	cmake -S . -B build-windows -DCMAKE_TOOLCHAIN_FILE=$(WINDOWS_TOOLCHAIN) \
	  -DCMAKE_BUILD_TYPE=Release -DTORAMI_TESTS=ON -DTORAMI_LINUX_BUILD=$(CURDIR)/build >/dev/null
endef

windows:
	@scripts/install-deps --windows
	$(configure-windows)
	cmake --build build-windows -j $(JOBS) --target windows_zip
	@echo "built build-windows/torami-windows.zip"

# The Linux build's player and window driver are what the Windows build is compared with.
test-windows:
	@scripts/install-deps --test --windows
	$(configure-windows)
	cmake -S . -B build -DCMAKE_BUILD_TYPE=Release -DTORAMI_TESTS=ON >/dev/null
	cmake --build build -j $(JOBS) --target torami torami_wine_window_test
	cmake --build build-windows -j $(JOBS)
	cd build-windows && ctest $(CTEST_FLAGS)

# The package is built with Debian's hardening flags, in a folder of its own.
DEB_FLAGS = DEB_BUILD_MAINT_OPTIONS=hardening=+all dpkg-buildflags --get

deb:
	@scripts/install-deps --deb
	@cmake -S . -B build-deb -DCMAKE_BUILD_TYPE=Release -DTORAMI_TESTS=OFF -DCMAKE_INSTALL_PREFIX=/usr \
	  "-DCMAKE_CXX_FLAGS=$$($(DEB_FLAGS) CPPFLAGS) $$($(DEB_FLAGS) CXXFLAGS)" \
	  "-DCMAKE_EXE_LINKER_FLAGS=$$($(DEB_FLAGS) LDFLAGS)" >/dev/null
	cmake --build build-deb -j $(JOBS)
	cd build-deb && cpack -G DEB
	@echo "built $$(cat build-deb/deb-package.txt)"

# The play-throughs from the unpacked package are compared with build/torami's; the
# window that offers the demo runs on Xvfb.
test-deb: deb
	@scripts/install-deps --test --deb
	@[ -f build/CMakeCache.txt ] || cmake -S . -B build -DCMAKE_BUILD_TYPE=Release -DTORAMI_TESTS=OFF >/dev/null
	@cmake --build build -j $(JOBS) --target torami
	tests/package/deb_test.sh "$$(cat build-deb/deb-package.txt)" build/torami

clean:
	rm -rf build build-asan build-fuzz build-windows build-deb

clean-web:
	rm -rf build-web build-web-game

# The browser build (see README, "Play in a browser"): build-web/ holds the page.
WEB_CACHE ?= $(HOME)/.cache/torami/web
WEB_TOOLCHAIN := $(WEB_CACHE)/toolchain.cmake
WEB_PORT ?= 8631

.PHONY: web-deps web serve-web test-web web-game

web-deps:
	@scripts/install-deps --web
	@[ -f $(WEB_TOOLCHAIN) ] || scripts/port-deps web

web: web-deps
	@cmake -S . -B build-web -DCMAKE_TOOLCHAIN_FILE=$(WEB_TOOLCHAIN) -DCMAKE_BUILD_TYPE=Release >/dev/null
	@cmake --build build-web -j $(JOBS) --target torami_web

# WEB_DIR=build-web-game/NAME make serve-web serves a published game instead.
WEB_DIR ?= build-web
serve-web: web
	node scripts/web-serve.js $(WEB_DIR) $(WEB_PORT)

# A game published as a page: make web-game GAME=path/to/folder writes build-web-game/NAME/
# and build-web-game/NAME.zip, for any static host.
web-game: web
	@[ -n "$(GAME)" ] || { echo "make web-game GAME=path/to/game/folder"; exit 2; }
	@scripts/web-game "$(GAME)" build-web build-web-game

# The browser test: the demo's play-throughs in headless Chromium against the native
# headless runs (tests/web/browser_test.js); puppeteer-core drives the system's Chromium.
# Before it, the engine's unit and scenario tests built for the browser's runtime run under
# node. Left out there: tests of what node's file access and the port's libraries cannot
# do (file names that are not UTF-8, flushing a file to disk, as the saved games in a
# data folder do, JPEG writing for a fixture, file times finer than a second, capturing
# standard error), and two of the Linux program's own folders and font advice (under node
# the program is node; a page has its fonts with it).
WEB_NODE_SKIP := SystemFolders.TheExecutableFolderIsWhereTheProgramLies:SystemFolders.BothJapaneseFacesAreFound:FileNames.AJapaneseNameHoldsAFileThatOpensByIt:FileLookup.FindsJapaneseNamesInUtf8AndInCodePage932:Pictures.EachFormatLoadsByContentWhateverTheExtension:PictureCache.DecodesAFileOnceWhileItIsUnchanged:Recorder.FailuresAreSaidOnceAndRecordingGoesOn:Keys.F12KeepsTheFrameInTheDataFolder:Comforts.SlotsOutliveTheRunAndLoadWhereTheyWereSaved:Comforts.SkipReadTextStopsAtTheFirstUnreadPage:Settings.RoundTripAndUnusableValues:ScriptVersions.AnEditedScriptFindsItsVersionBeforeOnce:Demo.TheVoiceAndTheClipboardGetTheTextOutsPages

test-web: web
	python3 tests/web/package_split_test.py
	@cmake --build build-web -j $(JOBS) --target torami_node_tests
	cd build-web && node --no-experimental-fetch torami_node_tests.js --gtest_brief=1 --gtest_filter=-$(WEB_NODE_SKIP)
	@[ -f build/CMakeCache.txt ] || cmake -S . -B build -DCMAKE_BUILD_TYPE=Release -DTORAMI_TESTS=OFF >/dev/null
	@cmake --build build -j $(JOBS) --target torami
	@[ -d tests/web/node_modules/puppeteer-core ] || (cd tests/web && npm ci --no-audit --no-fund)
	node tests/web/browser_test.js build-web build/torami .
