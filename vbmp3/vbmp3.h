/*
 * vbmp3: the decoder and sound output library of Nuvo.
 *
 * One engine per process plays one file at a time on a play thread of its own:
 * MPEG audio layers 1-3 (also inside a RIFF "RMP3" container) through libmpg123,
 * WAV through libsndfile, sound out through libout123. Tags are read and written
 * with TagLib.
 *
 * Conventions
 * - Every entry point has C linkage and returns quickly; none waits for audio to
 *   drain. All of them may be called from one thread (the application's) while
 *   the play thread runs.
 * - Booleans are returned as int32_t, 0 or 1.
 * - Paths and strings are UTF-8 and zero-terminated. A string never overflows its
 *   field: it is cut on a UTF-8 character boundary.
 * - The record layouts below are part of the interface; their sizes and offsets
 *   are fixed and checked at compile time.
 *
 * Sound output is chosen by the environment:
 *   NUVO_AUDIO_DRIVER  out123 driver name (default: out123's own choice)
 *   NUVO_AUDIO_DEVICE  device, or the file written by the "wav"/"raw" drivers
 *   NUVO_AUDIO_SPEED   pace of outputs that do not pace themselves ("wav", "raw",
 *                      "dummy"): times real time, default 1, 0 = unpaced
 * When no device can be opened, playback runs silent, paced in real time, and
 * one line says so on standard error.
 */
#ifndef VBMP3_H
#define VBMP3_H

#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

#if defined(__GNUC__)
#define VBMP3_API __attribute__((visibility("default")))
#else
#define VBMP3_API
#endif

/* Filled by vbmp3_open. */
typedef struct OpenRecord {
    char title[268];         /* title from the tag, empty when there is none */
    int32_t seconds;         /* length of the track in whole seconds */
} OpenRecord;

/* Tag of a file: read by getTagInfo/getFileInfo, written by setTagInfo. */
typedef struct TagRecord {
    char title[128];
    char artist[128];
    char album[128];
    char year[5];
    char comment[131];
    int32_t genre;           /* index into the 256-name genre table, -1 for none */
    char genreName[128];     /* filled by the library, ignored when writing */
} TagRecord;

/* Stream information; fourteen 32-bit integers. */
typedef struct MpegRecord {
    int32_t version;         /* MPEG version: 1, 2, or 25 for MPEG 2.5; 0 for WAV */
    int32_t layer;           /* 1, 2 or 3; 0 for WAV */
    int32_t bitRate;         /* kbit/s of the first frame (average for VBR), WAV: rate x bits x channels / 1000 */
    int32_t vbr;             /* 1 when the bit rate varies */
    int32_t mode;            /* 0 stereo, 1 joint stereo, 2 dual channel, 3 mono */
    int32_t modeExtension;
    int32_t copyright;       /* 1 when the copyright flag is set */
    int32_t original;        /* 1 when the original flag is set */
    int32_t emphasis;
    int32_t channels;        /* 1 or 2 */
    int32_t sampleRate;      /* Hz */
    int32_t fileSize;        /* bytes (saturates at INT32_MAX) */
    int32_t frames;          /* MPEG frames (counted by a scan), WAV sample frames */
    int32_t seconds;         /* length in whole seconds */
} MpegRecord;

/* Buffering of the play thread. */
typedef struct BufferOptions {
    int32_t inputFrames;     /* how far the decoder reads ahead, in MPEG frames (default 30) */
    int32_t outputFrames;    /* decoded audio queued to the device, in frames of 1152 samples (default 20) */
    int32_t inputSleepMs;    /* pause of the decode loop between reads (default 5) */
    int32_t outputSleepMs;   /* pause of the output loop between writes (default 0) */
} BufferOptions;

/* Output format. */
typedef struct DecodeOptions {
    int32_t downSampling;    /* 0: 1/1, 1: 1/2, 2: 1/4 of the file's rate */
    int32_t channels;        /* 0: as the file (stereo), 1: mono */
    int32_t frequencyLimit;  /* Hz; content above is cut, 24000 and above leaves it untouched (default 24000) */
} DecodeOptions;

/* vbmp3_getFileType bits; -1 when the file cannot be read or decoded. */
enum {
    VBMP3_TYPE_READ_ONLY = 1,     /* the file cannot be written */
    VBMP3_TYPE_MPEG = 2,          /* MPEG audio */
    VBMP3_TYPE_WAV = 4,           /* RIFF WAVE */
    VBMP3_TYPE_RIFF_MPEG = 8,     /* MPEG audio in a RIFF container (.rmp) */
    VBMP3_TYPE_HAS_TAG = 16,      /* carries an ID3v1 or ID3v2 tag */
    VBMP3_TYPE_NO_TAG_WRITE = 64  /* tags cannot be written to this kind of file */
};

enum { VBMP3_EQUALIZER_BANDS = 10 };

VBMP3_API int32_t vbmp3_init(void);
VBMP3_API int32_t vbmp3_free(void);
VBMP3_API int32_t vbmp3_open(const char* path, OpenRecord* record);
VBMP3_API int32_t vbmp3_close(void);
VBMP3_API int32_t vbmp3_play(void);
VBMP3_API int32_t vbmp3_stop(void);
VBMP3_API int32_t vbmp3_pause(void);
VBMP3_API int32_t vbmp3_restart(void);
VBMP3_API int32_t vbmp3_getFileType(const char* path);
/* 0 stopped or ended, 1 playing, 2 paused; *seconds := the heard position. */
VBMP3_API int32_t vbmp3_getState(int32_t* seconds);
VBMP3_API int32_t vbmp3_getPlayBitRate(void);
VBMP3_API int32_t vbmp3_setVolume(int32_t left, int32_t right);
VBMP3_API int32_t vbmp3_seek(int32_t seconds);
VBMP3_API int32_t vbmp3_getTagInfo(TagRecord* tag);
VBMP3_API int32_t vbmp3_getMpegInfo(MpegRecord* info);
VBMP3_API int32_t vbmp3_getFileInfo(const char* path, TagRecord* tag, MpegRecord* info);
/* openedFile: 1 when path is the file open in the engine. mode: 1 (the only one). */
VBMP3_API int32_t vbmp3_setTagInfo(const char* path, const TagRecord* tag, int32_t openedFile, int32_t mode);
/* Ten gains in tenths of a dB (-120..120), 60 Hz to 16 kHz; null switches the equalizer off. */
VBMP3_API int32_t vbmp3_setEqualizer(const int32_t* table);
VBMP3_API int32_t vbmp3_reload(void);
VBMP3_API int32_t vbmp3_setVbmp3Option(const BufferOptions* options);
VBMP3_API int32_t vbmp3_setDecodeOption(const DecodeOptions* options);
VBMP3_API int32_t vbmp3_getVbmp3Option(BufferOptions* options);
VBMP3_API int32_t vbmp3_getDecodeOption(DecodeOptions* options);

#ifdef __cplusplus
} /* extern "C" */

#include <cstddef>

static_assert(sizeof(OpenRecord) == 272 && offsetof(OpenRecord, seconds) == 268);
static_assert(sizeof(TagRecord) == 652);
static_assert(offsetof(TagRecord, artist) == 128 && offsetof(TagRecord, album) == 256);
static_assert(offsetof(TagRecord, year) == 384 && offsetof(TagRecord, comment) == 389);
static_assert(offsetof(TagRecord, genre) == 520 && offsetof(TagRecord, genreName) == 524);
static_assert(sizeof(MpegRecord) == 56);
static_assert(offsetof(MpegRecord, layer) == 4 && offsetof(MpegRecord, mode) == 16);
static_assert(offsetof(MpegRecord, sampleRate) == 40 && offsetof(MpegRecord, fileSize) == 44);
static_assert(offsetof(MpegRecord, frames) == 48 && offsetof(MpegRecord, seconds) == 52);
static_assert(sizeof(BufferOptions) == 16 && sizeof(DecodeOptions) == 12);
#endif

#endif /* VBMP3_H */
