#include "tests/support/DemoInstallationCopy.h"

#include <stdlib.h>

#include <cstdlib>
#include <filesystem>
#include <memory>

#include "kit/DemoInstallation.h"

namespace fs = std::filesystem;

namespace
{
// The one installation of this test program: the one ZARVO_DEMO_INSTALLATION names (the test
// command writes it once for all test programs and builds), or one written here and removed
// when the program ends.
class DemoOriginal
{
public:
    DemoOriginal()
    {
        if (const char* given = std::getenv("ZARVO_DEMO_INSTALLATION"); given && *given)
        {
            given_ = given;
            if (!fs::is_directory(given_))
                error_ = "ZARVO_DEMO_INSTALLATION names no folder: " + given_;
            return;
        }
        std::string pattern = (fs::temp_directory_path() / "zarvo-demo-XXXXXX").string();
        if (mkdtemp(pattern.data()) == nullptr)
        {
            error_ = "cannot create a temporary folder for the demo installation";
            return;
        }
        path_ = pattern;
        if (!kit::WriteDemoInstallation(path_, error_) && error_.empty())
            error_ = "the demo installation could not be written";
    }
    ~DemoOriginal()
    {
        std::error_code ignored;
        if (!path_.empty())
            fs::remove_all(path_, ignored);
    }
    DemoOriginal(const DemoOriginal&) = delete;
    DemoOriginal& operator=(const DemoOriginal&) = delete;

    const std::string& path() const { return given_.empty() ? path_ : given_; }
    const std::string& error() const { return error_; }

private:
    std::string given_;
    std::string path_;
    std::string error_;
};
}  // namespace

bool CopyDemoInstallation(const std::string& directory, std::string& error)
{
    static const DemoOriginal original;
    if (!original.error().empty())
    {
        error = original.error();
        return false;
    }
    std::error_code failure;
    fs::create_directories(directory, failure);
    if (!failure)
        fs::copy(original.path(), directory,
                 fs::copy_options::recursive | fs::copy_options::overwrite_existing, failure);
    if (failure)
    {
        error = "cannot copy the demo installation to " + directory + ": " + failure.message();
        return false;
    }
    return true;
}
