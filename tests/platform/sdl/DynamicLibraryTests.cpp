#include "platform/DynamicLibrary.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "tests/support/TestDirectory.h"

namespace fs = std::filesystem;

namespace
{
using PluginValue = int (*)();

// The tests run in a fresh working directory; the plugins are built beside the test program.
fs::path ExecutableDirectory()
{
    return fs::read_symlink("/proc/self/exe").parent_path();
}

// Which build of the plugin the handle holds (1 or 2), 0 when none.
int ValueOf(void* library)
{
    const auto value =
        reinterpret_cast<PluginValue>(dynlib::Symbol(library, "ZarvoTestPluginValue"));
    return value != nullptr ? value() : 0;
}

class DynamicLibraryTest : public testing::Test
{
protected:
    // Loads the name and closes the library again; the value of what was loaded, 0 for none.
    static int Load(const std::string& name)
    {
        void* library = dynlib::Open(name);
        const int value = ValueOf(library);
        dynlib::Close(library);
        return value;
    }

    // Puts the other build where the working directory's copy of `relativePath` would be.
    void PlaceOtherBuild(const std::string& relativePath)
    {
        const fs::path target = fs::path(directory_.path()) / relativePath;
        fs::create_directories(target.parent_path());
        fs::copy_file(ExecutableDirectory() / "ZarvoTestPluginOther.so", target);
    }

    TestDirectory directory_;
};

TEST_F(DynamicLibraryTest, FindsABareNameBesideTheExecutable)
{
    EXPECT_EQ(Load("ZarvoTestPlugin.so"), 1);
}

TEST_F(DynamicLibraryTest, TriesAWindowsNameAgainAsSharedObject)
{
    EXPECT_EQ(Load("ZarvoTestPlugin.dll"), 1);
    EXPECT_EQ(Load("ZarvoTestPlugin.DLL"), 1);
}

TEST_F(DynamicLibraryTest, PrefersTheWorkingDirectoryToTheExecutablesDirectory)
{
    PlaceOtherBuild("ZarvoTestPlugin.so");
    EXPECT_EQ(Load("ZarvoTestPlugin.so"), 2);
    EXPECT_EQ(Load("ZarvoTestPlugin.dll"), 2);
}

TEST_F(DynamicLibraryTest, UsesANameWithASlashAsGiven)
{
    PlaceOtherBuild("plugins/ZarvoTestPlugin.dll");
    EXPECT_EQ(Load("plugins/ZarvoTestPlugin.dll"), 2);
    EXPECT_EQ(Load((ExecutableDirectory() / "ZarvoTestPlugin.so").string()), 1);
    // Not searched for elsewhere: there is no "plugins" folder beside the executable.
    EXPECT_EQ(Load("plugins/ZarvoTestPluginOther.so"), 0);
}

TEST_F(DynamicLibraryTest, ReportsAMissingOrBrokenLibraryAndReturnsNull)
{
    directory_.WriteFile("Broken.so", "not a library");
    struct Case
    {
        std::string name;
        std::string reported;  // besides the name itself
    };
    const Case cases[] = {
        {"NoSuchLibrary.dll", ""},
        {"Broken.dll", "./Broken.so"},  // the loader's own reason
        {"", ""},
    };
    for (const Case& c : cases)
    {
        testing::internal::CaptureStderr();
        EXPECT_EQ(dynlib::Open(c.name), nullptr) << c.name;
        const std::string report = testing::internal::GetCapturedStderr();
        EXPECT_NE(report.find("\"" + c.name + "\""), std::string::npos) << report;
        EXPECT_NE(report.find(c.reported), std::string::npos) << report;
    }
}

TEST_F(DynamicLibraryTest, FindsNoSymbolInAMissingLibraryOrForAMissingName)
{
    void* library = dynlib::Open("ZarvoTestPlugin.so");
    ASSERT_NE(library, nullptr);
    EXPECT_EQ(dynlib::Symbol(library, "NoSuchSymbol"), nullptr);
    EXPECT_EQ(dynlib::Symbol(nullptr, "ZarvoTestPluginValue"), nullptr);
    dynlib::Close(library);
    dynlib::Close(nullptr);
}
}  // namespace
