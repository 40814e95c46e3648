// Helpers shared by the test programs: temporary folders, environment
// guards, small file utilities.
#pragma once

#include <optional>
#include <string>

namespace testing_support {

// A fresh folder under $TMPDIR, removed with everything in it on destruction.
class TTempDir {
public:
    TTempDir();
    ~TTempDir();
    TTempDir(const TTempDir&) = delete;
    TTempDir& operator=(const TTempDir&) = delete;
    const std::string& Path() const { return FPath; }   // no trailing '/'
    std::string operator/(const std::string& name) const { return FPath + "/" + name; }

private:
    std::string FPath;
};

// Sets (or unsets, with nullopt) an environment variable and restores the
// previous value on destruction.
class TEnvGuard {
public:
    TEnvGuard(std::string name, std::optional<std::string> value);
    ~TEnvGuard();
    TEnvGuard(const TEnvGuard&) = delete;
    TEnvGuard& operator=(const TEnvGuard&) = delete;

private:
    std::string FName;
    std::optional<std::string> FOld;
};

std::string ReadFileBytes(const std::string& path);
void WriteFileBytes(const std::string& path, const std::string& bytes);
bool PathExists(const std::string& path);

// Folder of the test data fixtures, of the source tree, and of the built
// executables.
std::string TestDataDir();
std::string SourceDir();
std::string BinDir();

}  // namespace testing_support
