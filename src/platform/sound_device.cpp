// Sound-file sniffing and the in-memory sound device.
#include "platform/sound_device.h"

#include <cstring>
#include <fstream>
#include <vector>

namespace {

// An MPEG audio frame header: 11 sync bits, then no reserved version,
// layer, bit-rate or sample-rate code (random bytes rarely pass all four).
bool IsMpegFrame(const unsigned char* b) {
    if (b[0] != 0xFF || (b[1] & 0xE0) != 0xE0) return false;
    const int version = (b[1] >> 3) & 3, layer = (b[1] >> 1) & 3;
    const int bitrate = b[2] >> 4, sampleRate = (b[2] >> 2) & 3;
    return version != 1 && layer != 0 && bitrate != 0xF && sampleRate != 3;
}

}  // namespace

bool LooksLikeSoundFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    unsigned char b[12] = {};
    if (!in.read(reinterpret_cast<char*>(b), sizeof b) && in.gcount() < 4) return false;
    const size_t got = size_t(in.gcount());
    auto starts = [&](const char* magic, size_t at = 0) {
        const size_t n = std::strlen(magic);
        return got >= at + n && std::memcmp(b + at, magic, n) == 0;
    };
    if (starts("ID3") || starts("OggS") || starts("fLaC")) return true;
    if (starts("RIFF") && starts("WAVE", 8)) return true;
    return got >= 3 && IsMpegFrame(b);
}

TMemorySoundDevice::TMemorySoundDevice(const TMemorySoundFiles& files, std::function<int64_t()> nowMs)
    : FFiles(files), FNowMs(std::move(nowMs)) {}

TSoundDeviceId TMemorySoundDevice::Open(const std::string& path) {
    if (path.empty() || !LooksLikeSoundFile(path)) return 0;
    TOpenFile file;
    file.Path = path;
    auto it = FFiles.DurationMs.find(path);
    file.DurationMs = it != FFiles.DurationMs.end() ? it->second : FFiles.DefaultDurationMs;
    const TSoundDeviceId id = FNextId++;
    FOpen.emplace(id, std::move(file));
    return id;
}

void TMemorySoundDevice::Abort(TOpenFile& file, TSoundDeviceId id, int status) {
    file.EndsAtMs = -1;
    TSoundNotify pending = std::move(file.Pending);
    file.Pending = nullptr;
    if (pending) pending(status, id);
}

bool TMemorySoundDevice::Play(TSoundDeviceId device, TSoundNotify notify) {
    auto it = FOpen.find(device);
    if (it == FOpen.end() || FFiles.PlayFails.count(it->second.Path)) return false;
    TOpenFile& file = it->second;
    if (file.Pending) Abort(file, device, MCI_NOTIFY_SUPERSEDED);
    file.EndsAtMs = FNowMs() + file.DurationMs;
    file.Pending = std::move(notify);
    DueChanged(NextDueMs());
    return true;
}

bool TMemorySoundDevice::Stop(TSoundDeviceId device, TSoundNotify notify) {
    auto it = FOpen.find(device);
    if (it == FOpen.end()) return false;
    const bool wasPlaying = it->second.EndsAtMs >= 0;
    if (it->second.Pending) Abort(it->second, device, MCI_NOTIFY_ABORTED);
    it->second.EndsAtMs = -1;
    if (wasPlaying) DueChanged(NextDueMs());
    if (notify) notify(MCI_NOTIFY_SUCCESSFUL, device);
    return true;
}

bool TMemorySoundDevice::Close(TSoundDeviceId device) {
    auto it = FOpen.find(device);
    if (it == FOpen.end()) return false;
    TOpenFile file = std::move(it->second);
    FOpen.erase(it);
    const bool wasPlaying = file.EndsAtMs >= 0;
    if (file.Pending) Abort(file, device, MCI_NOTIFY_ABORTED);
    if (wasPlaying) DueChanged(NextDueMs());
    return true;
}

void TMemorySoundDevice::Poll() {
    const int64_t now = FNowMs();
    // Collected first: a notice may be handled (in tests, at once) by code
    // that closes devices.
    std::vector<std::pair<TSoundDeviceId, TSoundNotify>> ended;
    for (auto& [id, file] : FOpen)
        if (file.EndsAtMs >= 0 && file.EndsAtMs <= now) {
            file.EndsAtMs = -1;
            ended.emplace_back(id, std::move(file.Pending));
            file.Pending = nullptr;
        }
    if (ended.empty()) return;
    DueChanged(NextDueMs());
    for (auto& [id, notify] : ended)
        if (notify) notify(MCI_NOTIFY_SUCCESSFUL, id);
}

int64_t TMemorySoundDevice::NextDueMs() const {
    int64_t next = -1;
    for (const auto& [id, file] : FOpen)
        if (file.EndsAtMs >= 0 && (next < 0 || file.EndsAtMs < next)) next = file.EndsAtMs;
    return next;
}

bool TMemorySoundDevice::IsPlaying(TSoundDeviceId device) const {
    auto it = FOpen.find(device);
    return it != FOpen.end() && it->second.EndsAtMs >= 0;
}

std::string TMemorySoundDevice::PathOf(TSoundDeviceId device) const {
    auto it = FOpen.find(device);
    return it == FOpen.end() ? std::string() : it->second.Path;
}
