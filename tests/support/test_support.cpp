#include "support/test_support.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <sys/stat.h>

namespace testing_support {

TTempDir::TTempDir() {
    const char* base = std::getenv("TMPDIR");
    std::string pattern = std::string(base && *base ? base : "/tmp") + "/olvo-test-XXXXXX";
    if (!mkdtemp(pattern.data())) throw std::runtime_error("mkdtemp failed");
    FPath = pattern;
}

TTempDir::~TTempDir() {
    std::error_code ec;
    std::filesystem::remove_all(FPath, ec);
}

TEnvGuard::TEnvGuard(std::string name, std::optional<std::string> value) : FName(std::move(name)) {
    if (const char* old = std::getenv(FName.c_str())) FOld = old;
    if (value)
        setenv(FName.c_str(), value->c_str(), 1);
    else
        unsetenv(FName.c_str());
}

TEnvGuard::~TEnvGuard() {
    if (FOld)
        setenv(FName.c_str(), FOld->c_str(), 1);
    else
        unsetenv(FName.c_str());
}

std::string ReadFileBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

void WriteFileBytes(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

bool PathExists(const std::string& path) {
    struct stat st {};
    return lstat(path.c_str(), &st) == 0;
}

std::string TestDataDir() { return OLVO_TEST_DATA_DIR; }
std::string SourceDir() { return OLVO_SOURCE_DIR; }
std::string BinDir() { return OLVO_BIN_DIR; }

}  // namespace testing_support
