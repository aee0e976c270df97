// Smoke test of the libraries scripts/port-deps builds for the ports: opens SDL without
// a window, renders a glyph with SDL2_ttf onto a surface, decodes pictures with
// SDL2_image (the files given, and a small JPEG of its own), and plays a wave file and
// a MIDI file with SDL2_mixer, checking that the mixer puts out sound.
// Usage: port_smoke FONT WAV MIDI [--timidity CFG] PICTURE...
// Prints one line a check and "all ok" at the end; exits 1 at the first failure.
#include <SDL.h>
#include <SDL_image.h>
#include <SDL_mixer.h>
#include <SDL_ttf.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

int fail(const char* what, const char* why) {
  std::printf("FAIL %s: %s\n", what, why);
  return 1;
}

// An 8x8 baseline JPEG of one grey (168): a DC value of 40 (quantiser 8) and an
// end-of-block, with one-symbol Huffman tables.
// clang-format off
const unsigned char kGreyJpeg[] = {
  0xFF, 0xD8,                                   // start of image
  0xFF, 0xDB, 0x00, 0x43, 0x00,                 // quantisers: DC 8, the rest 1
  8, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1,
  1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1,
  0xFF, 0xC0, 0x00, 0x0B, 8, 0, 8, 0, 8, 1, 1, 0x11, 0,                            // 8x8, one component
  0xFF, 0xC4, 0x00, 0x14, 0x00, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 6,  // DC: size 6
  0xFF, 0xC4, 0x00, 0x14, 0x10, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,  // AC: end of block
  0xFF, 0xDA, 0x00, 0x08, 1, 1, 0, 0, 63, 0,    // scan
  0x50,                                         // bits 0 | 101000 (40) | 0 (end of block)
  0xFF, 0xD9,                                   // end of image
};
// clang-format on

int inkPixels(SDL_Surface* s) {
  SDL_Surface* argb = SDL_ConvertSurfaceFormat(s, SDL_PIXELFORMAT_ARGB8888, 0);
  if (!argb) return -1;
  int count = 0;
  for (int y = 0; y < argb->h; ++y) {
    auto* row =
        reinterpret_cast<const Uint32*>(static_cast<const Uint8*>(argb->pixels) + y * argb->pitch);
    for (int x = 0; x < argb->w; ++x) count += (row[x] & 0x00FFFFFF) != 0;
  }
  SDL_FreeSurface(argb);
  return count;
}

int checkGlyph(const char* fontPath, SDL_Surface* canvas) {
  if (TTF_Init() != 0) return fail("TTF_Init", TTF_GetError());
  TTF_Font* font = TTF_OpenFont(fontPath, 24);
  if (!font) return fail("TTF_OpenFont", TTF_GetError());
  const Uint16 hiraganaA = 0x3042;
  if (!TTF_GlyphIsProvided(font, hiraganaA))
    return fail("TTF_GlyphIsProvided", "no glyph for U+3042");
  SDL_Surface* glyph = TTF_RenderGlyph_Solid(font, hiraganaA, SDL_Color{255, 255, 255, 255});
  if (!glyph) return fail("TTF_RenderGlyph_Solid", TTF_GetError());
  SDL_FillRect(canvas, nullptr, 0);
  if (SDL_BlitSurface(glyph, nullptr, canvas, nullptr) != 0)
    return fail("SDL_BlitSurface", SDL_GetError());
  int ink = inkPixels(canvas);
  if (ink <= 0) return fail("glyph", "U+3042 left no ink on the surface");
  std::printf("ok glyph U+3042: %dx%d, %d pixels of ink on the surface\n", glyph->w, glyph->h, ink);
  SDL_FreeSurface(glyph);
  TTF_CloseFont(font);
  TTF_Quit();
  return 0;
}

int checkPicture(const char* path, SDL_Surface* canvas) {
  SDL_Surface* picture = IMG_Load(path);
  if (!picture) return fail(path, IMG_GetError());
  if (SDL_BlitSurface(picture, nullptr, canvas, nullptr) != 0)
    return fail("SDL_BlitSurface", SDL_GetError());
  std::printf("ok picture %s: %dx%d\n", path, picture->w, picture->h);
  SDL_FreeSurface(picture);
  return 0;
}

int checkJpeg() {
  SDL_Surface* picture =
      IMG_LoadTyped_RW(SDL_RWFromConstMem(kGreyJpeg, sizeof kGreyJpeg), 1, "JPG");
  if (!picture) return fail("JPEG", IMG_GetError());
  SDL_Surface* argb = SDL_ConvertSurfaceFormat(picture, SDL_PIXELFORMAT_ARGB8888, 0);
  Uint32 pixel = *static_cast<const Uint32*>(argb->pixels);
  int grey = pixel & 0xFF;
  if (picture->w != 8 || picture->h != 8 || std::abs(grey - 168) > 1)
    return fail("JPEG", "wrong size or grey");
  std::printf("ok picture JPEG: %dx%d, grey %d\n", picture->w, picture->h, grey);
  SDL_FreeSurface(argb);
  SDL_FreeSurface(picture);
  return 0;
}

// The loudest sample the mixer has put out since the last reset (16-bit stereo).
SDL_atomic_t mixPeak;

void measurePeak(void*, Uint8* stream, int len) {
  const Sint16* samples = reinterpret_cast<const Sint16*>(stream);
  int peak = SDL_AtomicGet(&mixPeak);
  for (int i = 0; i < len / 2; ++i) peak = SDL_max(peak, std::abs(samples[i]));
  SDL_AtomicSet(&mixPeak, peak);
}

// With a Timidity configuration the MIDI file is synthesised by the mixer itself, so its
// output must not be silent; otherwise it goes to the system's own synthesiser.
int checkSound(const char* wavPath, const char* midiPath, const char* timidityCfg) {
  int wanted = MIX_INIT_MID;
  int got = Mix_Init(wanted);
  if ((got & wanted) != wanted) return fail("Mix_Init(MIX_INIT_MID)", Mix_GetError());
  if (timidityCfg && !Mix_SetTimidityCfg(timidityCfg))
    return fail("Mix_SetTimidityCfg", Mix_GetError());
  if (Mix_OpenAudio(22050, AUDIO_S16SYS, 2, 1024) != 0)
    return fail("Mix_OpenAudio", Mix_GetError());
  std::printf("ok audio device: %s\n", SDL_GetCurrentAudioDriver());
  Mix_SetPostMix(measurePeak, nullptr);

  Mix_Chunk* chunk = Mix_LoadWAV(wavPath);
  if (!chunk) return fail(wavPath, Mix_GetError());
  if (Mix_PlayChannel(-1, chunk, 0) < 0) return fail("Mix_PlayChannel", Mix_GetError());
  SDL_Delay(300);
  int peak = SDL_AtomicGet(&mixPeak);
  if (peak == 0) return fail(wavPath, "played, but the mixer put out silence");
  std::printf("ok wave %s: %u bytes at the device's format, mixed with peak %d\n", wavPath,
              chunk->alen, peak);
  Mix_HaltChannel(-1);

  Mix_Music* music = Mix_LoadMUS(midiPath);
  if (!music) return fail(midiPath, Mix_GetError());
  if (Mix_GetMusicType(music) != MUS_MID) return fail(midiPath, "not loaded as MIDI");
  SDL_Delay(100);
  SDL_AtomicSet(&mixPeak, 0);
  if (Mix_PlayMusic(music, 0) != 0) return fail("Mix_PlayMusic", Mix_GetError());
  SDL_Delay(1500);
  peak = SDL_AtomicGet(&mixPeak);
  if (timidityCfg) {
    if (!Mix_PlayingMusic()) return fail(midiPath, "stopped playing at once");
    if (peak == 0) return fail(midiPath, "playing, but the synthesiser put out silence");
    std::printf("ok MIDI %s: synthesised by the mixer, peak %d;", midiPath, peak);
  } else {
    // A machine without a MIDI output device (Wine without a sound card) cannot play it.
    std::printf("ok MIDI %s: loaded; the system's synthesiser %s;", midiPath,
                Mix_PlayingMusic() ? "is playing it" : "is not playing it (no MIDI device here?)");
  }
  std::printf(" music decoders:");
  for (int i = 0; i < Mix_GetNumMusicDecoders(); ++i) std::printf(" %s", Mix_GetMusicDecoder(i));
  std::printf("\n");
  Mix_HaltMusic();
  Mix_FreeMusic(music);
  Mix_FreeChunk(chunk);
  Mix_CloseAudio();
  Mix_Quit();
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 4) {
    std::printf("usage: port_smoke FONT WAV MIDI [--timidity CFG] PICTURE...\n");
    return 2;
  }
  const char* timidityCfg = nullptr;
  int first = 4;
  if (argc > 5 && std::strcmp(argv[4], "--timidity") == 0) {
    timidityCfg = argv[5];
    first = 6;
  }

  // No window and no sound card needed: SDL's dummy drivers. In the browser build sound
  // goes to Web Audio, which node gets from node-webaudio.js.
  SDL_setenv("SDL_VIDEODRIVER", "dummy", 1);
#ifndef __EMSCRIPTEN__
  SDL_setenv("SDL_AUDIODRIVER", "dummy", 1);
#endif
  if (SDL_Init(SDL_INIT_VIDEO | SDL_INIT_AUDIO | SDL_INIT_TIMER) != 0)
    return fail("SDL_Init", SDL_GetError());
  SDL_version v;
  SDL_GetVersion(&v);
  std::printf("ok SDL %d.%d.%d on %s, video driver %s\n", v.major, v.minor, v.patch,
              SDL_GetPlatform(), SDL_GetCurrentVideoDriver());

  SDL_Surface* canvas = SDL_CreateRGBSurfaceWithFormat(0, 640, 480, 32, SDL_PIXELFORMAT_ARGB8888);
  if (!canvas) return fail("SDL_CreateRGBSurfaceWithFormat", SDL_GetError());
  if (checkGlyph(argv[1], canvas) != 0) return 1;
  for (int i = first; i < argc; ++i)
    if (checkPicture(argv[i], canvas) != 0) return 1;
  if (checkJpeg() != 0) return 1;
  if (checkSound(argv[2], argv[3], timidityCfg) != 0) return 1;
  SDL_FreeSurface(canvas);
  SDL_Quit();
  std::printf("all ok\n");
  return 0;
}
