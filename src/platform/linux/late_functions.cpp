/* The functions of the picture, sound and synthesiser libraries that the player calls,
   each passing on to the library opened when first needed. When a library is missing a
   call fails as the library itself would fail (no surface, no device, no synthesiser). */
#include <SDL_image.h>
#include <SDL_mixer.h>
#include <fluidsynth.h>

#include "platform/linux/late_library.h"

#define LATE(library, failed, result, name, parameters, arguments)             \
  extern "C" result name parameters {                                          \
    using Function = result(*) parameters;                                     \
    static const auto f = reinterpret_cast<Function>(library.function(#name)); \
    if (!f) return failed;                                                     \
    return f arguments;                                                        \
  }

using platform::lateImage;
using platform::lateMixer;
using platform::lateSynth;

LATE(lateImage, nullptr, SDL_Surface*, IMG_LoadBMP_RW, (SDL_RWops * rw), (rw))
LATE(lateImage, nullptr, SDL_Surface*, IMG_LoadPNG_RW, (SDL_RWops * rw), (rw))
LATE(lateImage, nullptr, SDL_Surface*, IMG_LoadJPG_RW, (SDL_RWops * rw), (rw))
LATE(lateImage, -1, int, IMG_SavePNG, (SDL_Surface * s, const char* file), (s, file))

LATE(lateMixer, 0, int, Mix_Init, (int flags), (flags))
LATE(lateMixer, , void, Mix_Quit, (void), ())
LATE(lateMixer, -1, int, Mix_OpenAudioDevice,
     (int rate, Uint16 format, int channels, int chunk, const char* device, int changes),
     (rate, format, channels, chunk, device, changes))
LATE(lateMixer, , void, Mix_CloseAudio, (void), ())
LATE(lateMixer, 0, int, Mix_AllocateChannels, (int n), (n))
LATE(lateMixer, nullptr, Mix_Chunk*, Mix_LoadWAV_RW, (SDL_RWops * rw, int free), (rw, free))
LATE(lateMixer, , void, Mix_FreeChunk, (Mix_Chunk * chunk), (chunk))
LATE(lateMixer, -1, int, Mix_PlayChannel, (int channel, Mix_Chunk* chunk, int loops),
     (channel, chunk, loops))
LATE(lateMixer, 0, int, Mix_HaltChannel, (int channel), (channel))
LATE(lateMixer, 0, int, Mix_Playing, (int channel), (channel))
LATE(lateMixer, 0, int, Mix_Volume, (int channel, int volume), (channel, volume))
LATE(lateMixer, nullptr, Mix_Music*, Mix_LoadMUS_RW, (SDL_RWops * rw, int free), (rw, free))
LATE(lateMixer, , void, Mix_FreeMusic, (Mix_Music * music), (music))
LATE(lateMixer, -1, int, Mix_PlayMusic, (Mix_Music * music, int loops), (music, loops))
LATE(lateMixer, 0, int, Mix_HaltMusic, (void), ())
LATE(lateMixer, 0, int, Mix_VolumeMusic, (int volume), (volume))
LATE(lateMixer, , void, Mix_HookMusic,
     (void (*mix)(void* data, Uint8* stream, int length), void* data), (mix, data))
LATE(lateMixer, 0, int, Mix_SetSoundFonts, (const char* paths), (paths))

LATE(lateSynth, nullptr, fluid_settings_t*, new_fluid_settings, (void), ())
LATE(lateSynth, , void, delete_fluid_settings, (fluid_settings_t * s), (s))
LATE(lateSynth, FLUID_FAILED, int, fluid_settings_setnum,
     (fluid_settings_t * s, const char* name, double value), (s, name, value))
LATE(lateSynth, FLUID_FAILED, int, fluid_settings_setint,
     (fluid_settings_t * s, const char* name, int value), (s, name, value))
LATE(lateSynth, nullptr, fluid_synth_t*, new_fluid_synth, (fluid_settings_t * s), (s))
LATE(lateSynth, , void, delete_fluid_synth, (fluid_synth_t * synth), (synth))
LATE(lateSynth, FLUID_FAILED, int, fluid_synth_sfload,
     (fluid_synth_t * synth, const char* file, int reset), (synth, file, reset))
LATE(lateSynth, , void, fluid_synth_set_gain, (fluid_synth_t * synth, float gain), (synth, gain))
LATE(lateSynth, FLUID_FAILED, int, fluid_synth_write_s16,
     (fluid_synth_t * synth, int frames, void* left, int loff, int lstep, void* right, int roff,
      int rstep),
     (synth, frames, left, loff, lstep, right, roff, rstep))
LATE(lateSynth, nullptr, fluid_player_t*, new_fluid_player, (fluid_synth_t * synth), (synth))
LATE(lateSynth, , void, delete_fluid_player, (fluid_player_t * player), (player))
LATE(lateSynth, FLUID_FAILED, int, fluid_player_add_mem,
     (fluid_player_t * player, const void* buffer, size_t length), (player, buffer, length))
LATE(lateSynth, FLUID_FAILED, int, fluid_player_play, (fluid_player_t * player), (player))
LATE(lateSynth, FLUID_PLAYER_DONE, int, fluid_player_get_status, (fluid_player_t * player),
     (player))
