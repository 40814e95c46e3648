// The sound device: what replaces the media control interface. A device
// opens sound files by path, plays an opened one once in the background,
// stops and closes it; each open file has a device id (never 0, never
// reused). How a play or stop ended reaches the caller's notify function
// with the status codes the windows test for; a window's notify posts
// (MM_MCINOTIFY, status, device id) to itself, so notices are handled in
// posting order after the current call returns. Display-free: the core
// plays sounds through it; the hosts create the real or in-memory device.
// Also here: the in-memory device itself, driven by a clock its owner
// advances, so display-free tests and the offscreen host share one model.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <set>
#include <string>

// The message a notice arrives as: first parameter the status, second the
// device id.
constexpr uint32_t MM_MCINOTIFY = 0x3B9;
constexpr int MCI_NOTIFY_SUCCESSFUL = 1;
constexpr int MCI_NOTIFY_SUPERSEDED = 2;
constexpr int MCI_NOTIFY_ABORTED = 4;
constexpr int MCI_NOTIFY_FAILURE = 8;

using TSoundDeviceId = uint32_t;  // 0 is no device

// Called once per play or stop request with how it ended. The real device
// calls it from its streaming thread: it must only queue the notice
// (TApplication::PostMessage does), never handle it in the call.
using TSoundNotify = std::function<void(int status, TSoundDeviceId device)>;

class TSoundDevice {
public:
    virtual ~TSoundDevice() = default;

    // Opens the file, choosing the decoder by the file's content, and waits
    // until it is ready to play; 0 when it is missing or not a sound this
    // device can play (or there is no audio output at all).
    virtual TSoundDeviceId Open(const std::string& path) = 0;
    // Plays from the start to the end, once. `notify` later gets SUCCESSFUL
    // at the end, FAILURE when playback breaks, ABORTED when stopped or
    // closed first, SUPERSEDED when played again first. False (and no
    // notice) when the device is not open or cannot start.
    virtual bool Play(TSoundDeviceId device, TSoundNotify notify) = 0;
    // Stops playing (a pending play notice becomes ABORTED); `notify` gets
    // SUCCESSFUL once stopped. False (and no notice) when not open.
    virtual bool Stop(TSoundDeviceId device, TSoundNotify notify) = 0;
    // Releases the device; a pending play notice becomes ABORTED. False
    // when it was not open (a second close is harmless).
    virtual bool Close(TSoundDeviceId device) = 0;
    virtual bool IsOpen(TSoundDeviceId device) const = 0;
};

// Whether the file's first bytes are those of a sound file: an ID3 tag or
// an MPEG audio frame, RIFF/WAVE, Ogg or FLAC. False when it cannot be read.
bool LooksLikeSoundFile(const std::string& path);

// What the in-memory device plays: how long each file lasts (by the path
// given to Open), the length of any other sound file, and the files whose
// play command fails although they open.
struct TMemorySoundFiles {
    std::map<std::string, int64_t> DurationMs;
    int64_t DefaultDurationMs = 1000;
    std::set<std::string> PlayFails;
};

// The in-memory device. Files open when they exist and look like sound
// files; playback ends when the clock reaches its length and Poll() runs.
// DueChanged tells the owner when the next end moves (-1: none pending),
// so the owner can call Poll() then.
class TMemorySoundDevice : public TSoundDevice {
public:
    TMemorySoundDevice(const TMemorySoundFiles& files, std::function<int64_t()> nowMs);

    TSoundDeviceId Open(const std::string& path) override;
    bool Play(TSoundDeviceId device, TSoundNotify notify) override;
    bool Stop(TSoundDeviceId device, TSoundNotify notify) override;
    bool Close(TSoundDeviceId device) override;
    bool IsOpen(TSoundDeviceId device) const override { return FOpen.count(device) != 0; }

    // Ends every playback whose end has come.
    void Poll();
    int64_t NextDueMs() const;
    bool IsPlaying(TSoundDeviceId device) const;
    // The path each open device was opened with, and how many opened ever.
    std::string PathOf(TSoundDeviceId device) const;
    int OpenedCount() const { return int(FNextId - 1); }
    int OpenCount() const { return int(FOpen.size()); }

protected:
    virtual void DueChanged(int64_t nextDueMs) { (void)nextDueMs; }

private:
    struct TOpenFile {
        std::string Path;
        int64_t DurationMs = 0;
        int64_t EndsAtMs = -1;  // -1: not playing
        TSoundNotify Pending;
    };
    void Abort(TOpenFile& file, TSoundDeviceId id, int status);

    const TMemorySoundFiles& FFiles;
    std::function<int64_t()> FNowMs;
    std::map<TSoundDeviceId, TOpenFile> FOpen;
    TSoundDeviceId FNextId = 1;
};
