#include "FakeDecoder.h"

#include <algorithm>
#include <cstring>

namespace nuvo::test {

namespace {

FakeDecoder gFake;

void record(std::string call)
{
    gFake.calls.push_back(std::move(call));
}

int32_t fakeInit() { record("init"); return 1; }
int32_t fakeFree() { record("free"); return 1; }

int32_t fakeOpen(const char* path, OpenRecord* rec)
{
    record(std::string("open ") + path);
    gFake.openPath.clear();
    gFake.state = 0;
    const auto it = gFake.tracks.find(path);
    if (it == gFake.tracks.end())
        return 0;
    std::memset(rec, 0, sizeof *rec);
    std::strncpy(rec->title, it->second.title.c_str(), sizeof rec->title - 1);
    rec->seconds = it->second.seconds;
    gFake.openPath = path;
    return 1;
}

int32_t fakeClose() { record("close"); gFake.openPath.clear(); gFake.state = 0; gFake.position = 0; return 1; }
int32_t fakePlay() { record("play"); gFake.state = gFake.openPath.empty() ? 0 : 1; gFake.position = 0; return 1; }
int32_t fakeStop() { record("stop"); gFake.state = 0; gFake.position = 0; return 1; }
int32_t fakePause() { record("pause"); if (gFake.state == 1) gFake.state = 2; return 1; }
int32_t fakeRestart() { record("restart"); if (gFake.state == 2) gFake.state = 1; return 1; }

int32_t fakeGetFileType(const char* path)
{
    record(std::string("getFileType ") + path);
    const auto it = gFake.tracks.find(path);
    return it == gFake.tracks.end() ? -1 : it->second.fileType;
}

int32_t fakeGetState(int32_t* seconds)
{
    *seconds = gFake.position;
    return gFake.state;
}

int32_t fakeGetPlayBitRate()
{
    const auto it = gFake.tracks.find(gFake.openPath);
    return it == gFake.tracks.end() ? 0 : it->second.bitRate;
}

int32_t fakeSetVolume(int32_t left, int32_t right)
{
    record("setVolume " + std::to_string(left) + " " + std::to_string(right));
    gFake.volumeLeft = left;
    gFake.volumeRight = right;
    return 1;
}

int32_t fakeSeek(int32_t seconds) { record("seek " + std::to_string(seconds)); gFake.position = seconds; return 1; }
const FakeTrack* openTrack()
{
    const auto it = gFake.tracks.find(gFake.openPath);
    return it == gFake.tracks.end() ? nullptr : &it->second;
}

int32_t fakeGetTagInfo(TagRecord* tag)
{
    record("getTagInfo");
    const FakeTrack* track = openTrack();
    if (track)
        *tag = track->tag;
    return track != nullptr;
}

int32_t fakeGetMpegInfo(MpegRecord* info)
{
    record("getMpegInfo");
    const FakeTrack* track = openTrack();
    if (track)
        *info = track->mpeg;
    return track != nullptr;
}

int32_t fakeGetFileInfo(const char* path, TagRecord* tag, MpegRecord* info)
{
    record(std::string("getFileInfo ") + path);
    const auto it = gFake.tracks.find(path);
    if (it == gFake.tracks.end())
        return 0;
    *tag = it->second.tag;
    *info = it->second.mpeg;
    return 1;
}

int32_t fakeSetTagInfo(const char* path, const TagRecord* tag, int32_t openedFile, int32_t mode)
{
    record(std::string("setTagInfo ") + path);
    gFake.tagWrites.push_back({path, *tag, openedFile, mode});
    const auto it = gFake.tracks.find(path);
    if (gFake.tagWritesFail || it == gFake.tracks.end())
        return 0;
    it->second.tag = *tag;
    it->second.fileType |= VBMP3_TYPE_HAS_TAG;
    return 1;
}

int32_t fakeSetEqualizer(const int32_t* table)
{
    record(table ? "setEqualizer table" : "setEqualizer off");
    gFake.equalizerOn = table != nullptr;
    if (table)
        std::copy(table, table + gFake.equalizer.size(), gFake.equalizer.begin());
    return 1;
}

int32_t fakeReload() { record("reload"); return 1; }

int32_t fakeSetVbmp3Option(const BufferOptions* options)
{
    record("setVbmp3Option");
    // Values out of range are clamped, as the library does.
    gFake.buffer = {std::clamp(options->inputFrames, 1, 1000), std::clamp(options->outputFrames, 1, 1000),
                    std::clamp(options->inputSleepMs, 0, 1000), std::clamp(options->outputSleepMs, 0, 1000)};
    return 1;
}

int32_t fakeSetDecodeOption(const DecodeOptions* options)
{
    record("setDecodeOption");
    gFake.decodeSent = *options;
    gFake.decode = {std::clamp(options->downSampling, 0, 2), std::clamp(options->channels, 0, 1),
                    std::clamp(options->frequencyLimit, 100, 48000)};
    return 1;
}

int32_t fakeGetVbmp3Option(BufferOptions* options) { *options = gFake.buffer; return 1; }
int32_t fakeGetDecodeOption(DecodeOptions* options) { *options = gFake.decode; return 1; }

} // namespace

FakeDecoder& FakeDecoder::reset()
{
    gFake = FakeDecoder{};
    return gFake;
}

FakeDecoder& FakeDecoder::instance()
{
    return gFake;
}

DecoderApi FakeDecoder::api()
{
    DecoderApi api;
    api.init = &fakeInit;
    api.free = &fakeFree;
    api.open = &fakeOpen;
    api.close = &fakeClose;
    api.play = &fakePlay;
    api.stop = &fakeStop;
    api.pause = &fakePause;
    api.restart = &fakeRestart;
    api.getFileType = &fakeGetFileType;
    api.getState = &fakeGetState;
    api.getPlayBitRate = &fakeGetPlayBitRate;
    api.setVolume = &fakeSetVolume;
    api.seek = &fakeSeek;
    api.getTagInfo = &fakeGetTagInfo;
    api.getMpegInfo = &fakeGetMpegInfo;
    api.getFileInfo = &fakeGetFileInfo;
    api.setTagInfo = &fakeSetTagInfo;
    api.setEqualizer = &fakeSetEqualizer;
    api.reload = &fakeReload;
    api.setVbmp3Option = &fakeSetVbmp3Option;
    api.setDecodeOption = &fakeSetDecodeOption;
    api.getVbmp3Option = &fakeGetVbmp3Option;
    api.getDecodeOption = &fakeGetDecodeOption;
    return api;
}

int FakeDecoder::count(const std::string& call) const
{
    return static_cast<int>(std::count(calls.begin(), calls.end(), call));
}

std::vector<std::string> FakeDecoder::callsSince(std::size_t from) const
{
    return {calls.begin() + static_cast<std::ptrdiff_t>(std::min(from, calls.size())), calls.end()};
}

} // namespace nuvo::test
