// The web view: a WebKitGTK view placed in the form's native layer, built
// as a module of its own that the program opens on first use
// (web_view_module.h; native_web_view_loader.cpp opens it). A
// navigation completes when WebKit reports the load finished; the body
// check runs as a script before OnNavigateComplete, so HasBody answers for
// the page the event announces. Failed loads show no error page (the
// caller decides what to show) and have no body.
#include <webkit2/webkit2.h>

#include "platform/desktop/native_common.h"
#include "platform/desktop/web_view_module.h"

using namespace native_detail;

namespace {

// A script's answer as text: strings as they are, other values as
// JavaScriptCore prints them; undefined and null give "".
std::string ScriptValueText(JSCValue* value) {
    if (jsc_value_is_undefined(value) || jsc_value_is_null(value)) return {};
    char* s = jsc_value_to_string(value);
    std::string text = s ? s : "";
    g_free(s);
    return text;
}

// Script callbacks outlive nothing: the view cancels them when it goes.
struct TScriptCall {
    std::function<void(const std::string&)> Done;
};

class TGtkWebView : public TPlaced<TNativeWebView> {
public:
    TGtkWebView(GtkWidget* layer, GtkWidget* view)
        : TPlaced(layer, view, view), FView(WEBKIT_WEB_VIEW(view)), FCancel(g_cancellable_new()) {
        Connect(view, "load-changed", G_CALLBACK(OnLoadChanged));
        Connect(view, "load-failed", G_CALLBACK(OnLoadFailed));
    }
    ~TGtkWebView() override {
        // Stopping a load reports it; nobody may hear that any more.
        if (FRoot) {
            g_signal_handlers_disconnect_by_data(FView, this);
            webkit_web_view_stop_loading(FView);
        }
        g_cancellable_cancel(FCancel);  // pending script answers go nowhere
        g_object_unref(FCancel);
    }

    void Navigate(const std::string& url) override {
        FUrl = url;
        FHasBody = false;
        FFailed = false;
        FLoad++;
        if (FRoot) webkit_web_view_load_uri(FView, url.c_str());
    }
    std::string Url() const override { return FUrl; }
    bool HasBody() const override { return FHasBody; }
    void RunScript(const std::string& script, std::function<void(const std::string&)> done) override {
        if (!FRoot) return;
        auto* call = new TScriptCall{std::move(done)};
        webkit_web_view_evaluate_javascript(FView, script.c_str(), gssize(script.size()), nullptr, nullptr,
                                            FCancel, OnScriptDone, call);
    }

private:
    static void OnScriptDone(GObject* source, GAsyncResult* result, gpointer data) {
        std::unique_ptr<TScriptCall> call(static_cast<TScriptCall*>(data));
        GError* error = nullptr;
        JSCValue* value = webkit_web_view_evaluate_javascript_finish(WEBKIT_WEB_VIEW(source), result, &error);
        if (!value) {
            bool cancelled = g_error_matches(error, G_IO_ERROR, G_IO_ERROR_CANCELLED);
            g_clear_error(&error);
            if (cancelled) return;  // the view is gone, and maybe whoever asked
            if (call->Done) call->Done({});  // a script error answers nothing
            return;
        }
        std::string text = ScriptValueText(value);
        g_object_unref(value);
        if (call->Done) call->Done(text);
    }
    static void OnLoadChanged(WebKitWebView* view, WebKitLoadEvent event, gpointer self) {
        auto* p = static_cast<TGtkWebView*>(self);
        if (event == WEBKIT_LOAD_STARTED) {
            p->FHasBody = false;
            p->FFailed = false;
        }
        if (event != WEBKIT_LOAD_FINISHED) return;
        const char* uri = webkit_web_view_get_uri(view);
        if (uri) p->FUrl = uri;
        if (p->FFailed) {
            p->Complete(false);
            return;
        }
        int load = ++p->FLoad;
        p->RunScript("document.body !== null", [p, load](const std::string& result) {
            if (load == p->FLoad) p->Complete(result == "true");  // a newer load supersedes it
        });
    }
    static gboolean OnLoadFailed(WebKitWebView*, WebKitLoadEvent, gchar*, GError*, gpointer self) {
        static_cast<TGtkWebView*>(self)->FFailed = true;
        return TRUE;  // no built-in error page
    }
    void Complete(bool hasBody) {
        FHasBody = hasBody;
        if (OnNavigateComplete) OnNavigateComplete(this, FUrl);
    }

    WebKitWebView* FView;
    GCancellable* FCancel;
    std::string FUrl;
    bool FHasBody = false, FFailed = false;
    int FLoad = 0;  // counts loads so a late body check cannot report an old page
};

}  // namespace

// The module's entry point (platform/desktop/web_view_module.h): the only
// symbol the module exports.
extern "C" __attribute__((visibility("default"))) TNativeWebView* OlvoCreateWebView(void* layer) {
    if (!GTK_IS_FIXED(layer)) return nullptr;
    return new TGtkWebView(static_cast<GtkWidget*>(layer), webkit_web_view_new());
}
