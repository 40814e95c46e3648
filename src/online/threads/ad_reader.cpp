// The advertisement reader's threads.
#include "online/threads/ad_reader.h"

#include "online/threads/http_read_thread.h"
#include "platform/atomic_file.h"
#include "platform/folders.h"
#include "platform/gfx/picture.h"

namespace {
uint32_t BigEndian32(const std::string& bytes, size_t at) {
    uint32_t value = 0;
    for (size_t i = 0; i < 4; ++i) value = (value << 8) | static_cast<unsigned char>(bytes[at + i]);
    return value;
}
}  // namespace

bool IsPngPicture(const std::string& bytes) {
    if (DetectPictureFormat(bytes) != TPictureFormat::Png) return false;
    // The size from the header first: a tile picture has no business being
    // large, and decoding one only to look at it would cost its full size
    // in memory.
    if (bytes.size() < 24 || bytes.compare(12, 4, "IHDR") != 0) return false;
    const uint32_t width = BigEndian32(bytes, 16), height = BigEndian32(bytes, 20);
    if (width > MaxAdPictureSide || height > MaxAdPictureSide) return false;
    TBitmap32 bitmap;
    return ReadPng(bytes, bitmap) && !bitmap.Empty();
}

TOlvoADReader::TOlvoADReader(std::string cacheDir, std::string lang, std::string version)
    : TAdFeedReader(std::move(cacheDir), std::move(lang), std::move(version)),
      FSelf(std::make_shared<TOlvoADReader*>(this)) {}

TOlvoADReader::~TOlvoADReader() = default;

bool TOlvoADReader::Start(const std::string& serverBase) {
    if (!CacheDir.empty()) ForceDirectories(CacheDir);
    const std::string url = PrepareRequest(serverBase);
    if (url.empty()) return false;
    auto* thread = new THttpReadThread(url);
    thread->Limits = Limits;
    std::weak_ptr<TOlvoADReader*> self = FSelf;
    thread->OnTerminate = [self](TThread* sender) {
        auto reader = self.lock();
        if (!reader) return;
        auto* fetch = static_cast<THttpReadThread*>(sender);
        --(*reader)->FPending;
        if (fetch->Done) (*reader)->FeedStep(fetch->Body);
    };
    ++FPending;
    thread->Start();
    return true;
}

void TOlvoADReader::StartPictureDownload(const std::shared_ptr<TagOlvoAdInfo>& item) {
    auto* thread = new TDownLoadImgThread(item);
    thread->Limits = Limits;
    std::weak_ptr<TOlvoADReader*> self = FSelf;
    thread->OnTerminate = [self](TThread* sender) {
        auto reader = self.lock();
        if (!reader) return;
        auto* download = static_cast<TDownLoadImgThread*>(sender);
        --(*reader)->FPending;
        (*reader)->PictureDownloaded(download->Item, download->Done, std::move(download->Bytes));
    };
    ++FPending;
    thread->Start();
}

bool TOlvoADReader::IsPicture(const std::string& bytes) const { return IsPngPicture(bytes); }

TDownLoadImgThread::TDownLoadImgThread(std::shared_ptr<TagOlvoAdInfo> item)
    : Item(std::move(item)), ImgSrc(Item->ImgSrc), LocalPath(Item->LocalPath) {
}

void TDownLoadImgThread::Execute() {
    LowerPriority();
    try {
        std::optional<std::string> bytes = FetchBytes(ImgSrc, Limits);
        if (!bytes || !IsPngPicture(*bytes)) return;
        // Written whole or not at all: a cut-off file in the cache would read
        // as a damaged picture on every later run.
        if (!LocalPath.empty()) WriteFileAtomic(LocalPath, *bytes);
        Bytes = std::move(*bytes);
        Done = true;
    } catch (...) {
        Done = false;
    }
}
