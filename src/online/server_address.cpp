// Where the online requests go.
#include "online/server_address.h"

#include <cstdlib>

#include "online/http_fetch.h"
#include "platform/ini_document.h"
#include "platform/ini_file.h"
#include "store/remind_file.h"

std::string NormalizeServerBase(std::string_view raw) {
    std::string base(TrimBlanks(raw));
    if (base.empty()) return {};
    if (base.back() != '/') base += '/';
    return IsWebAddress(base) ? base : std::string();
}

std::string ServerBaseFrom(const char* environmentValue, std::string_view configValue) {
    if (environmentValue) {
        std::string fromEnvironment = NormalizeServerBase(environmentValue);
        if (!fromEnvironment.empty()) return fromEnvironment;
    }
    return NormalizeServerBase(configValue);
}

std::string ServerBase(const TIniFile* dataFile) {
    const std::string configValue = dataFile ? dataFile->ReadString(ConfigSection, ServerConfigKey, "") : "";
    return ServerBaseFrom(std::getenv(ServerEnvVariable), configValue);
}

std::string ServerUrl(const std::string& base, const char* path) { return base.empty() ? std::string() : base + path; }
