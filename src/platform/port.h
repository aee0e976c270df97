#pragma once
// Everything that differs between the systems torami runs on, in one place: each system
// has a folder that implements these functions (linux/ and web/ share posix/; windows/),
// and nothing outside this folder asks which system it runs on.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

union SDL_Event;
struct SDL_Window;

namespace platform {

// --- the process ------------------------------------------------------------------------

// What a starting program gets from the system, made alike on every system: the command
// line's arguments as UTF-8, and standard streams that pass bytes unchanged, so that a
// trace written to standard output is the same file everywhere. Call first thing in main.
std::vector<std::string> startProcess(int argc, char** argv);

// The folder the running program's file lies in: the game folder when none is given, and
// where the Windows build finds the fonts shipped beside it. Empty when the system does
// not tell.
std::filesystem::path executableFolder();

// Where the player keeps saved games and settings: $XDG_DATA_HOME/torami, else
// ~/.local/share/torami; on Windows %APPDATA%\torami; the page's storage in a browser.
// Nullopt when the system gives no place.
std::optional<std::filesystem::path> userDataFolder();

// Whether the program may start threads of its own (a page has none: work that would go
// to a thread is done when it is needed).
extern const bool kHasThreads;

// Gives memory the program has freed back to the system where the allocator would keep it
// for later (glibc keeps a thread's freed blocks in that thread's arena).
void returnFreedMemory();

// Starts finding the fonts on a thread of its own, so a window's first frame finds them.
void preloadForWindow();
// Starts loading the picture library, the sound libraries, or both, on a thread of their
// own, once the script is known to show pictures or play sound, so the first of them finds
// them ready. Where the libraries are part of the program (Windows, a page) nothing is
// done ahead.
void preloadLibraries(bool pictures, bool sound);

// Whether standard error goes to a terminal (where a line can be rewritten in place).
bool standardErrorIsTerminal();

// --- copies of the running program -----------------------------------------------------

// Whether the running program can be copied, with everything it holds, into a child process
// that goes on from the same point (fork): on Linux; not in a page nor on Windows, where
// whoever would copy it does the work again another way.
extern const bool kCanCopyProcess;

// Memory that the program shares with every copy made after it was taken, zeroed; nullptr
// where the system gives none. Only lock-free atomics belong in it.
void* takeSharedMemory(size_t bytes);
void releaseSharedMemory(void* memory, size_t bytes);

// A pipe that the program and its copies share. Its reading end never blocks by itself:
// take() says whether to wait.
class Pipe {
 public:
  Pipe();  // isOpen() says whether the system gave one
  ~Pipe();
  Pipe(const Pipe&) = delete;
  Pipe& operator=(const Pipe&) = delete;

  bool isOpen() const { return ends_[0] >= 0 && ends_[1] >= 0; }
  // Writes all the bytes (waiting while the pipe is full); false when that fails.
  bool put(const void* bytes, size_t size);
  // Reads up to `size` bytes: the count read, 0 when every writing end is closed, -1 when
  // nothing is there and `wait` is false (or reading fails).
  long take(void* bytes, size_t size, bool wait);
  void closeReading();
  void closeWriting();
  // Waits until one of the pipes has bytes to take or no writing end left: its index; -1
  // when waiting fails.
  static int awaitAny(std::span<Pipe* const> pipes);

 private:
  int ends_[2] = {-1, -1};
};

// Copies the running program: 0 in the copy, the copy's id in the program, -1 when no
// copy can be made now.
long copyProcess();
// Waits until a copy this process made ends: the copy `id`, or any when `id` is -1. Returns
// the id and whether it ended normally (status 0, no signal); nullopt when there is none.
struct CopyEnd {
  long id = 0;
  bool normal = true;
};
std::optional<CopyEnd> awaitCopy(long id);
// Ends a copy at once with status 0, without the program's exit handlers or flushing
// buffers it shares with the program.
[[noreturn]] void endCopy();

// --- files and their names --------------------------------------------------------------

// fopen with a path (on Windows through the wide-character API, so any name opens); mode
// as fopen's ("wb", "ab", ...).
std::FILE* openFile(const std::filesystem::path& path, const char* mode);
// Flushes the stream and has the system write it to the disk; false when that fails.
bool syncToDisk(std::FILE* file);

// The name under which a program that knew nothing of Unicode stored a file it was given
// as code page 932 bytes: the bytes themselves on Linux, the bytes read in the system's
// ANSI code page on Windows; nullopt when that code page cannot read them.
std::optional<std::filesystem::path> legacyName(std::string_view cp932);
// The characters of such a name: the name's legacy bytes decoded as code page 932; empty
// when the name has no such bytes.
std::u32string legacyNameText(const std::filesystem::path& name);

// Waits until a file of the game that comes after the start is there: a page's package
// carries what the game needs up to its title and the page fetches the game's other files
// beside it (one that cannot be fetched goes missing). Elsewhere every file is at hand.
void awaitFile(const std::filesystem::path& file);

// --- watching a file --------------------------------------------------------------------

// A watch on one file: `changed` runs on a thread of the watch's own a moment after the
// file was written or replaced (editors save either way), once for a burst of writes. The
// watch ends when the object goes. Null where files cannot be watched.
class FileWatch {
 public:
  virtual ~FileWatch() = default;
};
std::unique_ptr<FileWatch> watchFile(const std::filesystem::path& file,
                                     std::function<void()> changed);

// --- code page 932 ----------------------------------------------------------------------

// Decodes code page 932 bytes. A byte sequence that does not decode becomes U+FFFD
// (one per undecodable byte) and decoding goes on after it.
std::u32string decodeCp932(std::string_view bytes);
// Encodes to code page 932; nullopt when a character has no code there that decodes back
// to it.
std::optional<std::string> encodeCp932(std::u32string_view text);

// --- fonts ------------------------------------------------------------------------------

// The design's two Japanese faces.
enum class FontFace { Gothic, Mincho };
// The file of a face (through fontconfig on Linux; in the font folders and beside the
// executable on Windows; among the page's files in a browser) as a UTF-8 path; empty when
// it is not there.
std::string findFontFile(FontFace face);
// What the user can do about a face that is missing, as the end of a sentence.
std::string fontMissingAdvice(FontFace face);

// --- standard error ---------------------------------------------------------------------

// Standard error points at nothing while an object of this class lives. Libraries print
// lines of their own there (the PNG decoder its errors and warnings, the sound libraries
// what they try while they look for a device); the user gets one line of ours instead.
class QuietStandardError {
 public:
  QuietStandardError();
  ~QuietStandardError();
  QuietStandardError(const QuietStandardError&) = delete;
  QuietStandardError& operator=(const QuietStandardError&) = delete;

 private:
  int saved_ = -1;
};

// One line for the user on standard error, from the sound and window services.
void tell(const std::string& text);

// --- sound ------------------------------------------------------------------------------

// Readies the mixer's MIDI synthesiser before the first piece is loaded (FluidSynth with a
// General MIDI soundfont on Linux and in a page, the system's own synthesiser on Windows);
// false (after telling the user why) when music will be silent.
bool openSynthesiser();
// Makes ready what the synthesiser needs to play a piece, before it is loaded: a page
// starts fetching the instruments the piece plays and goes on; elsewhere they are all at
// hand.
void prepareInstruments(std::span<const uint8_t> smf);
// Whether instruments asked for are still on their way (in a page; elsewhere never).
bool instrumentsOnTheirWay();
// Calls `then` once no instrument is on its way any more, arrived or not: at once when
// none is; in a page, later from its event loop.
void whenInstrumentsArrive(std::function<void()> then);

// A MIDI piece synthesised ahead of time into memory, by a synthesiser of the program's own
// that plays it once, as fast as the processor allows: a piece that loops is then
// synthesised once, not on every pass.
class MidiRenderer {
 public:
  virtual ~MidiRenderer() = default;
  // Writes the piece's next frames (16-bit, two channels interleaved) into `out`, whose
  // size is even; the number of frames written, 0 once the piece has ended.
  virtual size_t render(std::span<int16_t> out) = 0;
};
// A renderer for the Standard MIDI File at `rate` frames a second with the soundfont that
// openSynthesiser chose, to be called on the thread that renders (which is made to give way
// to the program's other threads); nullptr when the piece cannot be played, and always where the
// system's synthesiser plays instead (Windows) or where there are no threads to render on
// (a page): there the mixer's own synthesiser plays the piece as it sounds.
std::unique_ptr<MidiRenderer> openMidiRenderer(std::span<const uint8_t> smf, int rate);
// Whether openMidiRenderer can give renderers here at all.
extern const bool kRendersMidi;

// --- the window system ------------------------------------------------------------------

// Starts SDL's video subsystem (false when it cannot: SDL_GetError says why). On X11 it
// is guarded: errors about a window or drawable that no longer exists (a close racing the
// window's destruction) are ignored instead of ending the program, and the raw events
// that tell a window was destroyed are asked for.
bool startVideo();
// Whether the event says the window was destroyed from outside: a close of its own kind.
bool windowDestroyed(const SDL_Event& event, SDL_Window* window);
// Whether the window is a canvas of a page, which keeps the design size while the page
// scales it, rather than a window of its own that the user resizes.
extern const bool kWindowIsCanvas;

// A message box of the system's own kind.
struct SystemBox {
  bool error = true;  // an error box, else a question
  std::string title, text;
  std::vector<std::string> buttons;
};
// Asks where the system has its own place for boxes (a dialog of the page, which the
// program yields to until it is answered): the index of the chosen button, -1 when the
// box is closed; nullopt where the window shows the box itself.
std::optional<int> askOutsideTheWindow(const SystemBox& box);
// Whether an error box is a window of the program's own, drawn with the design font (so
// it ends with the program and shows Japanese), rather than the system's box, which shows
// Japanese already on Windows.
extern const bool kOwnErrorBox;

// --- text for every reader --------------------------------------------------------------

// The system's speech service.
class Speech {
 public:
  virtual ~Speech() = default;
  // Says a text (UTF-8), in a Japanese voice where the system has one, cutting off what
  // it was saying; an empty text only stops it.
  virtual void say(const std::string& text) = 0;
};
// Opens the speech service: speech-dispatcher on Linux (its library loaded now, so the
// program starts without it; the service is reached on a thread of its own, so one that
// is slow to answer never holds the game), SAPI on Windows, the page's speech synthesis
// in a browser. Null, after one line on standard error saying why, when there is none;
// one line too when it has no Japanese voice or does not answer.
std::unique_ptr<Speech> openSpeech();
// Puts a text (UTF-8) on the system's clipboard.
void copyToClipboard(const std::string& text);
// A menu's label as a screen reader gets it: its number (the key that picks it, 1 for
// the first) and caption.
struct LabelText {
  int number = 0;
  std::string caption;
};
// Where the system has a place for screen readers beside the window (a page's live region
// and buttons for the menu's labels), each complete page and each menu also goes there;
// a window of its own has none (its text reaches readers through speech).
void publishPage(const std::string& text);
void publishMenu(const std::string& heading, const std::vector<LabelText>& labels);

}  // namespace platform
