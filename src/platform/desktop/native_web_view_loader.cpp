// Finding and opening the web view module, and the factory that makes web
// views through it.
#include <dlfcn.h>

#include <filesystem>
#include <mutex>

#include "platform/desktop/native_widgets.h"
#include "platform/desktop/web_view_module.h"
#include "platform/folders.h"

std::vector<std::string> WebViewModulePaths(const std::string& programPath) {
    if (programPath.empty()) return {};
    const std::filesystem::path folder = std::filesystem::path(programPath).parent_path();
    return {(folder / WebViewModuleFile).string(),
            (folder / InstalledModuleFolder / WebViewModuleFile).lexically_normal().string()};
}

TWebViewEntry OpenWebViewModule(const std::vector<std::string>& paths) {
    for (const std::string& path : paths) {
        // Local symbols: the module's copies of shared inline code never
        // stand in for the program's own.
        void* module = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
        if (!module) continue;
        if (auto entry = reinterpret_cast<TWebViewEntry>(dlsym(module, WebViewEntryName))) return entry;
        dlclose(module);
    }
    return nullptr;
}

TWebViewEntry WebViewEntry() {
    // Views are made on the user-interface thread only; the lock keeps a
    // stray caller from opening the module twice.
    static std::mutex mutex;
    static TWebViewEntry entry = nullptr;
    std::lock_guard lock(mutex);
    if (!entry) entry = OpenWebViewModule(WebViewModulePaths(ExecutablePath()));
    return entry;
}

std::unique_ptr<TNativeWebView> CreateDesktopWebViewIn(TNativeLayerHandle layer) {
    TWebViewEntry entry = layer ? WebViewEntry() : nullptr;
    return std::unique_ptr<TNativeWebView>(entry ? entry(layer) : nullptr);
}
