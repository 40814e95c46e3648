// The sound device over GStreamer's playbin.
#include "platform/desktop/gst_sound_device.h"

#include <gst/gst.h>

#include <cstdlib>
#include <mutex>

namespace {

// playbin's GstPlayFlags (not in the public headers): audio only, with
// its own volume element, so a picture inside a sound file opens no window.
constexpr guint PlayFlagAudio = 1u << 1;
constexpr guint PlayFlagSoftVolume = 1u << 4;

bool GstReady() {
    static std::once_flag once;
    static bool ready = false;
    std::call_once(once, [] { ready = gst_init_check(nullptr, nullptr, nullptr); });
    return ready;
}

// The output named by OLVO_AUDIO_SINK, or null for playbin's default.
GstElement* AudioSinkFromEnvironment() {
    const char* description = std::getenv("OLVO_AUDIO_SINK");
    if (!description || !*description) return nullptr;
    GError* error = nullptr;
    GstElement* sink = gst_parse_bin_from_description(description, TRUE, &error);
    if (error) g_error_free(error);
    return sink;
}

}  // namespace

// One open file. Its bus messages arrive on GStreamer's threads; the lock
// keeps the pending notice consistent between them and the caller's thread.
struct TGstSoundDevice::TPlayer {
    TSoundDeviceId Id = 0;
    GstElement* Playbin = nullptr;
    std::mutex Lock;
    TSoundNotify Pending;
    bool Failed = false;  // an error was posted (while opening or playing)

    ~TPlayer() {
        if (!Playbin) return;
        // At NULL every streaming thread has ended, so no bus message can
        // reach this object once it is gone.
        gst_element_set_state(Playbin, GST_STATE_NULL);
        GstBus* bus = gst_element_get_bus(Playbin);
        gst_bus_set_sync_handler(bus, nullptr, nullptr, nullptr);
        gst_object_unref(bus);
        gst_object_unref(Playbin);
    }

    // Hands the pending notice its outcome; the notify runs outside the
    // lock since it may be slow to queue.
    void Finish(int status) {
        TSoundNotify notify;
        {
            std::lock_guard guard(Lock);
            notify = std::move(Pending);
            Pending = nullptr;
        }
        if (notify) notify(status, Id);
    }

    static GstBusSyncReply OnBusMessage(GstBus*, GstMessage* message, gpointer data) {
        auto* player = static_cast<TPlayer*>(data);
        switch (GST_MESSAGE_TYPE(message)) {
        case GST_MESSAGE_EOS:
            player->Finish(MCI_NOTIFY_SUCCESSFUL);
            break;
        case GST_MESSAGE_ERROR: {
            {
                std::lock_guard guard(player->Lock);
                player->Failed = true;
            }
            player->Finish(MCI_NOTIFY_FAILURE);
            break;
        }
        default:
            break;
        }
        // Nothing watches the bus: everything is handled here.
        return GST_BUS_DROP;
    }

    bool HasFailed() {
        std::lock_guard guard(Lock);
        return Failed;
    }
};

TGstSoundDevice::TGstSoundDevice() = default;

TGstSoundDevice::~TGstSoundDevice() {
    while (!FOpen.empty()) Close(FOpen.begin()->first);
}

TSoundDeviceId TGstSoundDevice::Open(const std::string& path) {
    if (path.empty() || !GstReady()) return 0;
    gchar* uri = gst_filename_to_uri(path.c_str(), nullptr);
    if (!uri) return 0;
    auto player = std::make_unique<TPlayer>();
    player->Playbin = gst_element_factory_make("playbin", nullptr);
    if (!player->Playbin) {
        g_free(uri);
        return 0;
    }
    gst_object_ref_sink(player->Playbin);
    g_object_set(player->Playbin, "uri", uri, "flags", PlayFlagAudio | PlayFlagSoftVolume, nullptr);
    g_free(uri);
    if (GstElement* sink = AudioSinkFromEnvironment()) g_object_set(player->Playbin, "audio-sink", sink, nullptr);
    GstBus* bus = gst_element_get_bus(player->Playbin);
    gst_bus_set_sync_handler(bus, &TPlayer::OnBusMessage, player.get(), nullptr);
    gst_object_unref(bus);

    // Paused is "ready to play": the file has been found, typed, decoded
    // to its first sample and handed to the output.
    if (gst_element_set_state(player->Playbin, GST_STATE_PAUSED) == GST_STATE_CHANGE_FAILURE) return 0;
    GstState state = GST_STATE_NULL;
    GstStateChangeReturn ready =
        gst_element_get_state(player->Playbin, &state, nullptr, GstClockTime(OpenTimeoutMs) * GST_MSECOND);
    if (ready != GST_STATE_CHANGE_SUCCESS || state != GST_STATE_PAUSED || player->HasFailed()) return 0;
    gint audioStreams = 0;
    g_object_get(player->Playbin, "n-audio", &audioStreams, nullptr);
    if (audioStreams <= 0) return 0;

    const TSoundDeviceId id = FNextId++;
    player->Id = id;
    FOpen.emplace(id, std::move(player));
    return id;
}

bool TGstSoundDevice::Play(TSoundDeviceId device, TSoundNotify notify) {
    auto it = FOpen.find(device);
    if (it == FOpen.end()) return false;
    TPlayer& player = *it->second;
    if (player.HasFailed()) return false;
    player.Finish(MCI_NOTIFY_SUPERSEDED);
    // From the start, also when it played before. Paused first: a pipeline
    // that reached its end seeks reliably only when not running.
    gst_element_set_state(player.Playbin, GST_STATE_PAUSED);
    gst_element_get_state(player.Playbin, nullptr, nullptr, GstClockTime(OpenTimeoutMs) * GST_MSECOND);
    gst_element_seek_simple(player.Playbin, GST_FORMAT_TIME, GstSeekFlags(GST_SEEK_FLAG_FLUSH | GST_SEEK_FLAG_ACCURATE), 0);
    {
        std::lock_guard guard(player.Lock);
        player.Pending = std::move(notify);
    }
    if (gst_element_set_state(player.Playbin, GST_STATE_PLAYING) == GST_STATE_CHANGE_FAILURE) {
        std::lock_guard guard(player.Lock);
        player.Pending = nullptr;
        return false;
    }
    return true;
}

bool TGstSoundDevice::Stop(TSoundDeviceId device, TSoundNotify notify) {
    auto it = FOpen.find(device);
    if (it == FOpen.end()) return false;
    TPlayer& player = *it->second;
    player.Finish(MCI_NOTIFY_ABORTED);
    gst_element_set_state(player.Playbin, GST_STATE_PAUSED);
    if (notify) notify(MCI_NOTIFY_SUCCESSFUL, device);
    return true;
}

bool TGstSoundDevice::Close(TSoundDeviceId device) {
    auto it = FOpen.find(device);
    if (it == FOpen.end()) return false;
    std::unique_ptr<TPlayer> player = std::move(it->second);
    FOpen.erase(it);
    player->Finish(MCI_NOTIFY_ABORTED);
    player.reset();
    return true;
}
