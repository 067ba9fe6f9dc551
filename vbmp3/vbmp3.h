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
 * Sound output is chosen by the environment, read whenever the output opens:
 *   NUVO_AUDIO_DRIVER  out123 driver name, or a comma-separated list tried in
 *                      turn (default: "pulse,alsa,oss,jack,portaudio", out123's
 *                      own order without "nas", which can hang, and "openal")
 *   NUVO_AUDIO_DEVICE  device, or the file written by the "wav"/"raw" drivers
 *                      (required by them; the other file writers of out123 are
 *                      refused)
 *   NUVO_AUDIO_SPEED   pace of outputs that do not pace themselves ("wav", "raw",
 *                      "dummy", "test"): times real time, default 1, 0 = unpaced
 * When no device can be opened, playback runs silent, paced in real time, and
 * one line says so on standard error (once per process). Nothing else is ever
 * printed.
 *
 * The output stays open from track to track while the format (rate, channels)
 * stays the same. A file output gets exactly what was heard, as 32-bit float
 * where the writer takes it: audio dropped by pause, stop, seek or reload
 * never reaches it. A paced file output ("wav", "raw" at a NUVO_AUDIO_SPEED
 * above 0) also gets the silence a device would play between two tracks
 * that follow each other (see "Gapless" below) where the next one came late,
 * so a gap can be heard in the file. Running dry for more than a second of
 * real time counts as the output standing idle and writes nothing. On a
 * change of format the file is
 * finished and the output continues in NAME.1.wav, NAME.2.wav, ... (".N" put
 * before the extension). A file is complete (its header right) once the
 * library closes it: at a change of format, at vbmp3_free, and when the
 * library is unloaded or the process exits.
 *
 * Position: what has been heard, that is the audio handed to the device less
 * what the device still holds. Pause, seek and reload take effect within the
 * output buffer (BufferOptions.outputFrames).
 *
 * Gapless: the end of a track is reported (vbmp3_getState 0, the position at
 * the whole length) once all of it is with the device and the device holds at
 * most 250 ms of it, so that a caller polling every 100 ms can open and play
 * the next track before the device runs dry. vbmp3_close, vbmp3_open and
 * vbmp3_play after the end carry on after what the device still holds; stop,
 * pause and seek cut it off at once, as they do while a track plays.
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
    char artist[128];        /* several values of one frame joined with "/"; when they fit,
                                the bytes after the terminating zero list them one by one,
                                each zero-terminated, ended by an empty one:
                                "Alice/Bob\0Alice\0Bob\0\0" (so "AC/DC" stays one) */
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

/* Buffering of the play thread; in force at once. Values outside the ranges
 * are clamped: frames 1..1000, sleep times 0..1000 ms. */
typedef struct BufferOptions {
    int32_t inputFrames;     /* how far the decoder reads ahead, in frames of 1152 samples (default 30) */
    int32_t outputFrames;    /* decoded audio queued to the device, in frames of 1152 samples of the
                                output rate (default 20): the latency of pause, seek and reload */
    int32_t inputSleepMs;    /* rest of the decode loop each time its read-ahead is full (default 5) */
    int32_t outputSleepMs;   /* rest of the output loop after each write to the device (default 0) */
} BufferOptions;

/* Output format; in force from the next vbmp3_open. Values outside the ranges
 * are clamped: downSampling 0..2, channels 0..1, frequencyLimit 100..48000. */
typedef struct DecodeOptions {
    int32_t downSampling;    /* 0: 1/1, 1: 1/2, 2: 1/4 of the file's rate (low-pass filtered first;
                                rates that do not divide are rounded down, 22050/4 -> 5512) */
    int32_t channels;        /* 0: as the file (stereo stays stereo, mono stays mono), 1: mono */
    int32_t frequencyLimit;  /* Hz; content above is cut (8th-order low-pass), 24000 and above
                                leaves it untouched (default 24000) */
} DecodeOptions;

/* vbmp3_getFileType bits; -1 when the file cannot be read or vbmp3_open
 * would not take it. */
enum {
    VBMP3_TYPE_READ_ONLY = 1,     /* vbmp3_setTagInfo cannot replace the file (its or its
                                     directory's permissions; a sticky directory where
                                     neither the file nor the directory is ours) */
    VBMP3_TYPE_MPEG = 2,          /* MPEG audio */
    VBMP3_TYPE_WAV = 4,           /* RIFF WAVE */
    VBMP3_TYPE_RIFF_MPEG = 8,     /* MPEG audio in a RIFF container (.rmp) */
    VBMP3_TYPE_HAS_TAG = 16,      /* carries an ID3v1 or ID3v2 tag */
    VBMP3_TYPE_NO_TAG_WRITE = 64  /* tags cannot be written to this kind of file */
};

enum { VBMP3_EQUALIZER_BANDS = 10 };

/* Every entry point but vbmp3_init does nothing before vbmp3_init and after
 * vbmp3_free, returning 0 (vbmp3_getFileType: -1). Null pointers are refused
 * the same way. */

/* Starts the engine (a second call changes nothing); always 1. */
VBMP3_API int32_t vbmp3_init(void);
/* Stops playback and releases everything vbmp3_init made; the output file is
 * complete afterwards. vbmp3_init may follow. 1, or 0 without an engine.
 * Unloading the library or ending the process does the same. */
VBMP3_API int32_t vbmp3_free(void);
/* Closes any open file (after the end of a track: see "Gapless" above), then
 * opens path: 1 when it decodes (record filled:
 * the tag's title, else empty; whole seconds), 0 otherwise (missing,
 * unreadable, empty, not audio). The file is held open by descriptor until
 * closed, so renaming or replacing it does not disturb playback. */
VBMP3_API int32_t vbmp3_open(const char* path, OpenRecord* record);
/* Ends playback and releases the file; 0 when none was open. */
VBMP3_API int32_t vbmp3_close(void);
/* Plays the open file from its start (also when playing or paused). */
VBMP3_API int32_t vbmp3_play(void);
/* Stops; the file stays open and the position goes back to 0. */
VBMP3_API int32_t vbmp3_stop(void);
/* Playing -> paused (1); 0 in any other state. */
VBMP3_API int32_t vbmp3_pause(void);
/* Paused -> playing on from the paused position (1); 0 in any other state. */
VBMP3_API int32_t vbmp3_restart(void);
VBMP3_API int32_t vbmp3_getFileType(const char* path);
/* 0 stopped or ended, 1 playing, 2 paused; *seconds := the heard position in
 * whole seconds. A track ends (0) with its last moment still in the device
 * (see "Gapless" above); *seconds is then its whole length. */
VBMP3_API int32_t vbmp3_getState(int32_t* seconds);
/* kbit/s of the frame being decoded (changes with VBR); WAV: rate x bits x
 * channels / 1000; 0 when no file is open. */
VBMP3_API int32_t vbmp3_getPlayBitRate(void);
/* Volume 0..100 per channel (clamped), in force now and for later files,
 * kept across close. The gain is (volume / 100)^2, that is
 * 40 x log10(volume / 100) dB: 100 unchanged, 50 is -12.04 dB, 25 is
 * -24.08 dB, 0 silent. A mono output takes the mean of the two gains. */
VBMP3_API int32_t vbmp3_setVolume(int32_t left, int32_t right);
/* Playing (also just after the end): plays on from the given second (beyond
 * the end: the track ends). Paused: moves the position where vbmp3_restart
 * goes on. 0 when stopped or closed. */
VBMP3_API int32_t vbmp3_seek(int32_t seconds);
VBMP3_API int32_t vbmp3_getTagInfo(TagRecord* tag);
VBMP3_API int32_t vbmp3_getMpegInfo(MpegRecord* info);
/* 1 with both records filled when vbmp3_open would take the file; 0 with
 * both cleared otherwise. Texts longer than their field are cut. */
VBMP3_API int32_t vbmp3_getFileInfo(const char* path, TagRecord* tag, MpegRecord* info);
/* Writes the fields of tag that differ from what vbmp3_getFileInfo reads from
 * the file now (a text cut to its field counts as the same when it is passed
 * back unchanged; genreName is not written). Every other frame and value of
 * the file's tags, their text encodings and the ID3v2 version stay as they
 * were; an ID3v1 tag is kept in step where there is one and never added; a
 * file without an ID3v2 tag gets ID3v2.4 (UTF-8) with every field of its
 * ID3v1 tag, the track number too. 1 when written
 * (also when nothing differed), 0 when refused (see VBMP3_TYPE_READ_ONLY and
 * VBMP3_TYPE_NO_TAG_WRITE), the file then unchanged.
 * openedFile: 1 when path is the file open in the engine (it plays on
 * undisturbed). mode: 1 (the only one; others are treated alike). */
VBMP3_API int32_t vbmp3_setTagInfo(const char* path, const TagRecord* tag, int32_t openedFile, int32_t mode);
/* Ten gains in tenths of a dB (-120..120, clamped), 60 Hz to 16 kHz, as
 * peaking filters about an octave wide; bands at or above the output's
 * Nyquist frequency are left out; null switches the equalizer off. New audio
 * is shaped with the table at once; vbmp3_reload makes the change heard
 * within the output buffer. While a band raises its frequencies, a peak
 * limiter at -0.09 dBFS (after the volume) keeps the boost from clipping;
 * below that level it changes nothing. Audio that nothing raised is never
 * limited: with the equalizer off (or cutting only), volume 100 and no decode
 * options the output is the decoder's own, bit for bit. */
VBMP3_API int32_t vbmp3_setEqualizer(const int32_t* table);
/* The open file plays on from the heard position with the equalizer now in
 * force (the queued audio is made anew); no restart, no gap beyond the
 * output buffer. 1 when a file is open. */
VBMP3_API int32_t vbmp3_reload(void);
VBMP3_API int32_t vbmp3_setVbmp3Option(const BufferOptions* options);
VBMP3_API int32_t vbmp3_setDecodeOption(const DecodeOptions* options);
/* The values in force: before any set, 30, 20, 5, 0 and 0, 0, 24000. */
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
