// The one web server every online request goes to. Its base address comes
// from the environment variable OLVO_SERVER, else from the key SERVER in the
// data file's CONFIG section; it is always an http:// or https:// address
// ending in "/". With neither set (or neither usable) the base is empty and
// no request is made at all: every check then ends as a failed fetch does.
#pragma once

#include <string>
#include <string_view>

class TIniFile;

inline constexpr const char* ServerEnvVariable = "OLVO_SERVER";
inline constexpr const char* ServerConfigKey = "SERVER";

// The fixed paths below the base.
inline constexpr const char* UpdateInfoPath = "update/ormverinfo.htm";
inline constexpr const char* NewsInfoPath = "news/orminfo.htm";
inline constexpr const char* NewsPagePath = "news/msg.html";
inline constexpr const char* AdFeedPath = "ad/ad1.php";
inline constexpr const char* DownloadPagePath = "download.html";

// Blanks around the text removed and "/" appended; empty unless the result
// is a web address (server_address.cpp tells which).
std::string NormalizeServerBase(std::string_view raw);

// The first usable of the two values: the environment's, then the
// configuration's. A set but unusable environment value does not hide a
// usable configuration value.
std::string ServerBaseFrom(const char* environmentValue, std::string_view configValue);

// The base for this process: OLVO_SERVER, else CONFIG SERVER of the data
// file (null: no data file).
std::string ServerBase(const TIniFile* dataFile);

// base + path; empty when the base is.
std::string ServerUrl(const std::string& base, const char* path);
