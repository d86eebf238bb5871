// The application's small services on Windows: screens, the keyboard object, FolderItem, the
// version properties read from this executable's own version resource (app_services_test.rc)
// and from runtime.exe's, the plug-in installer, the failed-assertion dialog and the
// out-of-memory stop.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "framework/application/application_object.h"
#include "framework/application/application_services.h"
#include "framework/application/folder_item.h"
#include "framework/application/screens.h"
#include "framework/application/version_resource.h"
#include "framework/embedded_library_records.h"
#include "framework/startup/embedded_plugins.h"
#include "framework/startup/failed_assertion_dialog.h"
#include "framework/startup/windows_startup.h"
#include "platform/win32/windows_api.h"
#include "runtime/diagnostics/assertion.h"
#include "runtime/memory/pool_allocator.h"
#include "runtime/strings/string_ref.h"
#include "sdk/quaver.h"

namespace qv {
namespace {

// As start-up does: every routine joins the registry before it is built, then the classes are
// registered. Classes and registry entries live for the process, so they are made once before
// any test and no test sees them as a leak.
class ServicesEnvironment : public ::testing::Environment {
    void SetUp() override
    {
        start_framework_runtime();
        RuntimeUnlockObject(getKeyboardObject());
        RuntimeUnlockObject(new_folder_item(StringRef::FromCString("C:\\")));
        RuntimeUnlockObject(getScreen(0));
        clear_screen_cache();
    }
};
const auto* const g_environment = ::testing::AddGlobalTestEnvironment(new ServicesEnvironment);

std::string text_of(RuntimeString* counted)
{
    const StringRef s = StringRef::adopt(counted);
    EXPECT_TRUE(s.is_nil() || s.encoding() == QV_ENCODING_UTF8 || s.encoding() == QV_ENCODING_ASCII);
    return std::string(s.CText(), static_cast<size_t>(s.length()));
}

std::string class_name(RuntimeObject* object)
{
    return object && object->classRecord ? StringRef::share(object->classRecord->name).CText() : "";
}

// ---- Screens --------------------------------------------------------------------------------

TEST(Screens, EveryScreenInRangeOutOfRangeNil)
{
    const i32 count = getScreenCount();
    EXPECT_GE(count, 1);
    EXPECT_EQ(count, std::max(GetSystemMetrics(SM_CMONITORS), 1));
    EXPECT_EQ(getScreen(-1), nullptr);
    EXPECT_EQ(getScreen(count), nullptr);
    for (i32 i = 0; i < count; ++i) {
        RuntimeObject* screen = getScreen(i);
        ASSERT_NE(screen, nullptr) << i;
        EXPECT_EQ(class_name(screen), "Screen");
        EXPECT_GT(screenWidthGetter(screen, 0), 0);
        RuntimeUnlockObject(screen);
    }
    clear_screen_cache();
}

TEST(Screens, PrimaryScreenHasTheSystemMetricsAndTheWorkArea)
{
    RuntimeObject* screen = getScreen(0);  // the only one under the test display
    ASSERT_NE(screen, nullptr);
    EXPECT_EQ(screenLeftGetter(screen, 0), 0);
    EXPECT_EQ(screenTopGetter(screen, 0), 0);
    EXPECT_EQ(screenWidthGetter(screen, 0), GetSystemMetrics(SM_CXSCREEN));
    EXPECT_EQ(screenHeightGetter(screen, 0), GetSystemMetrics(SM_CYSCREEN));
    HDC dc = GetDC(nullptr);
    EXPECT_EQ(screenDepthGetter(screen, 0), GetDeviceCaps(dc, PLANES) * GetDeviceCaps(dc, BITSPIXEL));
    ReleaseDC(nullptr, dc);
    RECT area{};
    ASSERT_TRUE(SystemParametersInfoW(SPI_GETWORKAREA, 0, &area, 0));
    // The Available properties are read by intGetter at offsets 48..60.
    EXPECT_EQ(intGetter(screen, 48), area.left);
    EXPECT_EQ(intGetter(screen, 52), area.top);
    EXPECT_EQ(intGetter(screen, 56), area.right - area.left);
    EXPECT_EQ(intGetter(screen, 60), area.bottom - area.top);
    RuntimeUnlockObject(screen);
    clear_screen_cache();
}

TEST(Screens, CacheHandsOutCountedSharedObjectsUntilCleared)
{
    RuntimeObject* first = getScreen(0);
    RuntimeObject* again = getScreen(0);
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(first, again);
    EXPECT_EQ(first->refCount, 3);  // the cache's and ours
    RuntimeUnlockObject(again);

    clear_screen_cache();
    EXPECT_EQ(first->refCount, 1);  // only ours is left
    RuntimeObject* fresh = getScreen(0);
    EXPECT_NE(fresh, first);
    RuntimeUnlockObject(fresh);
    RuntimeUnlockObject(first);
    clear_screen_cache();
}

// ---- Keyboard -------------------------------------------------------------------------------

TEST(Keyboard, ModifierGettersReadTheRecordedState)
{
    RuntimeObject* keyboard = getKeyboardObject();
    ASSERT_NE(keyboard, nullptr);
    EXPECT_EQ(class_name(keyboard), "_Keyboard");
    const u32 saved = gModifierState;
    const struct {
        u32 state;
        bool shift, command, control, option;
    } cases[] = {
        {0, false, false, false, false},
        {0x200, true, false, false, false},
        {0x100 | 0x1000, false, true, true, false},
        {0x800 | 0x200, true, false, false, true},
        {0x0400 | 0x0001, false, false, false, false},  // bits that are no modifier
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.state);
        gModifierState = c.state;
        EXPECT_EQ(modifierKeyGetter(keyboard, 0x200), c.shift);
        EXPECT_EQ(modifierKeyGetter(keyboard, 0x100), c.command);
        EXPECT_EQ(modifierKeyGetter(keyboard, 0x1000), c.control);
        EXPECT_EQ(modifierKeyGetter(keyboard, 0x800), c.option);
    }
    gModifierState = saved;
    RuntimeUnlockObject(keyboard);
}

void send_key(WORD virtual_key, bool up)
{
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = virtual_key;
    input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
    ASSERT_EQ(SendInput(1, &input, sizeof input), 1u);
}

TEST(Keyboard, AsyncGettersFollowThePhysicalKeys)
{
    RuntimeObject* keyboard = getKeyboardObject();
    EXPECT_FALSE(keyboardAsyncKeyDown(keyboard, 0));  // A
    EXPECT_FALSE(asyncModifierKeyGetter(keyboard, 0x1000));

    send_key('A', false);
    send_key(VK_CONTROL, false);
    EXPECT_TRUE(keyboardAsyncKeyDown(keyboard, 0));
    EXPECT_FALSE(keyboardAsyncKeyDown(keyboard, 11));  // B
    EXPECT_FALSE(keyboardAsyncKeyDown(keyboard, 10));  // no key at all
    EXPECT_TRUE(asyncModifierKeyGetter(keyboard, 0x1000));
    EXPECT_FALSE(asyncModifierKeyGetter(keyboard, 0x200));
    EXPECT_FALSE(asyncModifierKeyGetter(keyboard, 0x1001));  // not a mask of one modifier
    send_key(VK_CONTROL, true);
    send_key('A', true);

    EXPECT_FALSE(keyboardAsyncKeyDown(keyboard, 0));
    EXPECT_FALSE(asyncModifierKeyGetter(keyboard, 0x1000));
    RuntimeUnlockObject(keyboard);
}

// ---- FolderItem -----------------------------------------------------------------------------

TEST(FolderItem, PathNameAndExistence)
{
    wchar_t temp[MAX_PATH];
    ASSERT_GT(GetTempPathW(MAX_PATH, temp), 0u);
    wchar_t file[MAX_PATH];
    ASSERT_NE(GetTempFileNameW(temp, L"qfi", 0, file), 0u);  // creates the file
    char utf8[MAX_PATH * 3];
    WideCharToMultiByte(CP_UTF8, 0, file, -1, utf8, sizeof utf8, nullptr, nullptr);
    const std::string path = utf8;
    const std::string name = path.substr(path.find_last_of('\\') + 1);

    RuntimeObject* item = new_folder_item(StringRef::FromCString(path.c_str()));
    ASSERT_NE(item, nullptr);
    EXPECT_EQ(class_name(item), "FolderItem");
    EXPECT_EQ(text_of(fileAbsolutePathGetter(item, 0)), path);
    EXPECT_EQ(text_of(fileNameGetter(item, 0)), name);
    EXPECT_TRUE(fileExistsGetter(item, 0));
    ASSERT_TRUE(DeleteFileW(file));
    EXPECT_FALSE(fileExistsGetter(item, 0));

    // A relative path is completed with the current folder ("*" below), separators made native.
    char folder[MAX_PATH];
    GetCurrentDirectoryA(MAX_PATH, folder);
    const std::string here = std::string(folder) + (std::string(folder).back() == '\\' ? "" : "\\");
    const struct {
        const char* path;
        const char* absolute;
        const char* name;
    } cases[] = {
        {"C:\\Docs\\Letter.txt", "C:\\Docs\\Letter.txt", "Letter.txt"},
        {"C:\\Docs\\", "C:\\Docs\\", "Docs"},  // trailing separators do not count for the name
        {"relative/name.txt", "*relative\\name.txt", "name.txt"},
        {"Bare", "*Bare", "Bare"},
        {"", "", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path);
        set_folder_item_path(item, StringRef::FromCString(c.path));
        const std::string absolute = c.absolute[0] == '*' ? here + (c.absolute + 1) : c.absolute;
        EXPECT_EQ(text_of(fileAbsolutePathGetter(item, 0)), absolute);
        EXPECT_EQ(text_of(fileNameGetter(item, 0)), c.name);
    }
    EXPECT_FALSE(fileExistsGetter(item, 0));  // the empty path
    RuntimeUnlockObject(item);
}

// ---- Version properties ---------------------------------------------------------------------

TEST(VersionResource, IntegersAndStringsComeFromThisExecutable)
{
    const i32 expected[] = {1, 2, 3, 2, 4, -1};  // Major, Minor, Bug, Stage (beta), NonRelease, Region
    for (i32 selector = 0; selector < 6; ++selector)
        EXPECT_EQ(AppIntegerVersionStuffGetter(nullptr, selector), expected[selector]) << selector;
    EXPECT_EQ(text_of(AppStringVersionStuffGetter(nullptr, 0)), "1.2b4");
    EXPECT_EQ(text_of(AppStringVersionStuffGetter(nullptr, 1)), "Copyright \xC2\xA9 Test Makers");
    EXPECT_EQ(text_of(AppStringVersionStuffGetter(nullptr, 2)), "Application services tests");
    EXPECT_EQ(AppStringVersionStuffGetter(nullptr, 3), nullptr);
}

// runtime.exe, built beside this suite, is what Hollerpad.exe is made from: its properties are
// the about text's "ver. 0.1a", and it carries the program icon in its three sizes.
TEST(VersionResource, TheRuntimeExecutableIsVersionZeroPointOneAlphaWithItsIcon)
{
    std::wstring path(MAX_PATH, L'\0');
    path.resize(GetModuleFileNameW(nullptr, path.data(), MAX_PATH));
    path = path.substr(0, path.find_last_of(L"\\/") + 1) + L"runtime.exe";
    HMODULE module = LoadLibraryExW(path.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_NE(module, nullptr) << "no runtime.exe beside the suite";
    // The icon group lists one image per size; each loads as a real icon of that size.
    // 102: where the window classes take their icon from.
    HRSRC group = FindResourceW(module, MAKEINTRESOURCEW(102), MAKEINTRESOURCEW(14));  // RT_GROUP_ICON
    ASSERT_NE(group, nullptr);
    const auto* directory = static_cast<const u8*>(LockResource(LoadResource(module, group)));
    ASSERT_NE(directory, nullptr);
    std::vector<int> widths;
    for (int i = 0; i < (directory[4] | directory[5] << 8); ++i)
        widths.push_back(directory[6 + 14 * i]);
    EXPECT_EQ(widths, (std::vector<int>{16, 32, 48}));
    for (int size : {16, 32, 48}) {
        HICON icon = static_cast<HICON>(LoadImageW(module, MAKEINTRESOURCEW(102), IMAGE_ICON, size, size, 0));
        ICONINFO info{};
        BITMAP colour{};
        if (icon && GetIconInfo(icon, &info)) {
            GetObjectW(info.hbmColor, sizeof colour, &colour);
            DeleteObject(info.hbmColor);
            DeleteObject(info.hbmMask);
        }
        EXPECT_EQ(colour.bmWidth, size);
        if (icon)
            DestroyIcon(icon);
    }
    FreeLibrary(module);

    const VersionResource runtime(path);
    const i32 expected[] = {0, 1, 0, 1, 0, -1};  // Major, Minor, Bug, Stage (alpha), NonRelease, Region
    for (i32 selector = 0; selector < 6; ++selector)
        EXPECT_EQ(runtime.integer(selector), expected[selector]) << selector;
    EXPECT_EQ(text_of(runtime.string(0)), "0.1a");
    EXPECT_EQ(text_of(runtime.string(2)), "Hollerpad");
    EXPECT_NE(text_of(runtime.string(1)).find("Hollerpad"), std::string::npos);
}

// ---- Routine list against the sdk -----------------------------------------------------------

// ---- Plug-in installer ----------------------------------------------------------------------

std::vector<u8> library_record(const std::string& name, const std::string& bytes)
{
    std::vector<u8> record{static_cast<u8>(name.size())};
    record.insert(record.end(), name.begin(), name.end());
    record.insert(record.end(), bytes.begin(), bytes.end());
    return record;
}

// A fresh folder under the temporary folder, removed with everything in it.
struct TempFolder {
    std::wstring path;
    TempFolder()
    {
        wchar_t temp[MAX_PATH];
        GetTempPathW(MAX_PATH, temp);
        path = std::wstring(temp) + L"qvplugins" + std::to_wstring(GetCurrentProcessId()) + L"_" +
            std::to_wstring(GetTickCount());
        EXPECT_TRUE(CreateDirectoryW(path.c_str(), nullptr));
    }
    ~TempFolder()
    {
        WIN32_FIND_DATAW found;
        HANDLE search = FindFirstFileW((path + L"\\*").c_str(), &found);
        if (search != INVALID_HANDLE_VALUE) {
            do {
                const std::wstring child = path + L"\\" + found.cFileName;
                SetFileAttributesW(child.c_str(), FILE_ATTRIBUTE_NORMAL);
                DeleteFileW(child.c_str());
            } while (FindNextFileW(search, &found));
            FindClose(search);
        }
        RemoveDirectoryW(path.c_str());
    }
    std::wstring child(const wchar_t* name) const { return path + L"\\" + name; }
};

std::string file_contents(const std::wstring& path)
{
    HANDLE file =
        CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return "<missing>";
    std::string contents(4096, '\0');
    DWORD read = 0;
    ReadFile(file, contents.data(), static_cast<DWORD>(contents.size()), &read, nullptr);
    CloseHandle(file);
    contents.resize(read);
    return contents;
}

struct Resources {
    std::vector<std::vector<u8>> records;
    WindowsResourceManager index;
    void add(const std::string& name, const std::string& bytes)
    {
        records.push_back(library_record(name, bytes));
        index.Add(kEmbeddedLibraryType, static_cast<u16>(128 + records.size()), records.back().data(),
                  static_cast<u32>(records.back().size()), 0);
    }
    Resources() { records.reserve(8); }  // the index points into the records
};

std::vector<std::wstring> g_loaded;
void record_loaded(std::span<const std::wstring> libraries) { g_loaded.assign(libraries.begin(), libraries.end()); }

std::vector<std::string> g_failures;
void record_failure(const char* text) { g_failures.push_back(text); }

TEST(EmbeddedPlugins, WritesEachLibraryHiddenAndReplacesAStaleCopy)
{
    TempFolder folder;
    Resources resources;
    resources.add("First.dll", std::string("MZ\0first", 8));
    resources.add("Second.dll", "MZsecond");
    {
        std::ofstream stale(folder.child(L"First.dll").c_str(), std::ios::binary);
        stale << "stale and longer than the new one";
    }
    g_loaded.clear();
    const std::vector<std::wstring> installed = install_embedded_plugins(resources.index, folder.path, &record_loaded);

    const std::vector<std::wstring> expected = {folder.child(L"Second.dll"), folder.child(L"First.dll")};
    EXPECT_EQ(installed, expected);
    EXPECT_EQ(g_loaded, expected);
    EXPECT_EQ(file_contents(expected[0]), "MZsecond");
    EXPECT_EQ(file_contents(expected[1]), std::string("MZ\0first", 8));
    for (const std::wstring& path : expected)
        EXPECT_TRUE(GetFileAttributesW(path.c_str()) & FILE_ATTRIBUTE_HIDDEN);
}

TEST(EmbeddedPlugins, KeepsALibraryThatIsInUse)
{
    TempFolder folder;
    Resources resources;
    resources.add("Held.dll", "MZnew");
    resources.add("Free.dll", "MZfree");
    const std::wstring held_path = folder.child(L"Held.dll");
    {
        std::ofstream old(held_path.c_str(), std::ios::binary);
        old << "MZold";
    }
    // Held as a loaded library is: open without delete sharing.
    HANDLE held = CreateFileW(held_path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    const std::vector<std::wstring> installed = install_embedded_plugins(resources.index, folder.path);
    CloseHandle(held);

    EXPECT_EQ(installed, (std::vector<std::wstring>{folder.child(L"Free.dll"), held_path}));
    EXPECT_EQ(file_contents(held_path), "MZold");
    EXPECT_EQ(file_contents(folder.child(L"Free.dll")), "MZfree");
}

TEST(EmbeddedPlugins, LibraryThatCannotBeWrittenStopsWithThePermissionMessage)
{
    TempFolder folder;
    Resources resources;
    resources.add("Bad*Name.dll", "MZbad");  // installed last: after Good.dll
    resources.add("Good.dll", "MZgood");
    const InstallFailureHandler previous = set_install_failure_handler(&record_failure);
    g_failures.clear();
    g_loaded.clear();
    const std::vector<std::wstring> installed = install_embedded_plugins(resources.index, folder.path, &record_loaded);
    EXPECT_EQ(installed, std::vector<std::wstring>{folder.child(L"Good.dll")});
    EXPECT_EQ(g_loaded, installed);  // the loader still gets the ones before the failure
    ASSERT_EQ(g_failures.size(), 1u);
    EXPECT_EQ(g_failures[0],
              "The application cannot continue because a needed file cannot be installed. You don't have "
              "appropriate permission to install the file.");

    // A folder that does not exist fails at the first library.
    g_failures.clear();
    EXPECT_TRUE(install_embedded_plugins(resources.index, folder.child(L"missing")).empty());
    EXPECT_EQ(g_failures.size(), 1u);
    set_install_failure_handler(previous);

    // The mutex was closed on the failure path too: with no handle left, it no longer exists.
    HANDLE mutex = OpenMutexW(SYNCHRONIZE, FALSE, L"QUAVER MUTEX");
    EXPECT_EQ(mutex, nullptr);
    if (mutex)
        CloseHandle(mutex);
}

TEST(EmbeddedPlugins, WaitsForAnotherInstallerHoldingTheMutex)
{
    TempFolder folder;
    Resources resources;
    resources.add("Lib.dll", "MZ");
    std::atomic<bool> holding{false};
    std::thread other([&] {
        HANDLE mutex = CreateMutexW(nullptr, TRUE, L"QUAVER MUTEX");
        holding = true;
        Sleep(400);
        ReleaseMutex(mutex);
        CloseHandle(mutex);
    });
    while (!holding)
        Sleep(1);
    const auto start = std::chrono::steady_clock::now();
    const std::vector<std::wstring> installed = install_embedded_plugins(resources.index, folder.path);
    const auto waited = std::chrono::steady_clock::now() - start;
    other.join();
    EXPECT_EQ(installed.size(), 1u);
    EXPECT_GE(waited, std::chrono::milliseconds(300));
    EXPECT_LT(waited, std::chrono::milliseconds(4000));
}

TEST(EmbeddedPlugins, FolderIsAnExistingFolder)
{
    const std::wstring folder = plugin_library_folder();
    ASSERT_FALSE(folder.empty());
    EXPECT_NE(folder.back(), L'\\');
    const DWORD attributes = GetFileAttributesW(folder.c_str());
    ASSERT_NE(attributes, INVALID_FILE_ATTRIBUTES);
    EXPECT_TRUE(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// ---- Failed-assertion dialog and the out-of-memory stop -------------------------------------

struct ShownBox {
    std::string title;
    std::string text;
    u32 flags = 0;
};
ShownBox g_box;
int g_answer = IDOK;

int capture_box(const char* title, const char* text, u32 flags)
{
    g_box = {title, text, flags};
    return g_answer;
}

// In a death test's child: the text goes to standard error, where the parent matches it.
int print_box(const char*, const char* text, u32)
{
    std::fputs(text, stderr);
    std::fflush(stderr);
    return g_answer;
}

// Installs the dialog with a box seam; gives the test runner's responder back afterwards.
struct DialogFixture : ::testing::Test {
    AssertionResponder previous_responder = set_assertion_responder(nullptr);
    AssertionBoxFunction previous_box = set_assertion_box_function(&capture_box);
    DialogFixture() { install_failed_assertion_dialog(); }
    ~DialogFixture() override
    {
        set_assertion_box_function(previous_box);
        set_assertion_responder(previous_responder);
    }
};

TEST_F(DialogFixture, ShowsTheReportWithOkCancelErrorIconAndCancelDefault)
{
    g_answer = IDOK;
    ReportFailedAssertion(7, 0x10004, "string", 584, "index >= 0", "while sorting");
    EXPECT_EQ(g_box.title, "Failed Assertion");
    EXPECT_EQ(g_box.text,
              "Failed Assertion: 4\nPress OK to Continue\nPress Cancel to Quit.\n\n"
              "Please report what caused this error\nalong with the information below.\n\n"
              "string: 584\nFailure Condition: index >= 0\nwhile sorting");
    EXPECT_EQ(g_box.flags & MB_TYPEMASK, static_cast<u32>(MB_OKCANCEL));
    EXPECT_EQ(g_box.flags & MB_ICONMASK, static_cast<u32>(MB_ICONERROR));
    EXPECT_EQ(g_box.flags & MB_DEFMASK, static_cast<u32>(MB_DEFBUTTON2));

    ReportFailedAssertion(0, 4, "dump", 99, "overwrote start of block", nullptr);  // OK returned here
    EXPECT_TRUE(g_box.text.ends_with("dump: 99\nFailure Condition: overwrote start of block\n")) << g_box.text;
}

using DialogDeathTest = DialogFixture;

TEST_F(DialogDeathTest, CancelEndsTheProcessWithExitCodeZero)
{
    EXPECT_EXIT(
        {
            set_assertion_box_function(&print_box);
            g_answer = IDCANCEL;
            ReportFailedAssertion(0, 4, "string", 584, "cancelled", nullptr);
        },
        ::testing::ExitedWithCode(0), "Failure Condition: cancelled");
}

TEST_F(DialogDeathTest, OutOfMemoryReportsThenEndsTheProcessEvenOnOk)
{
    EXPECT_EXIT(
        {
            set_assertion_box_function(&print_box);
            g_answer = IDOK;
            pool_fail_after(0);
            PoolAlloc(5000, MayFail::No);
        },
        ::testing::ExitedWithCode(0), "utility: 842\\sFailure Condition: 0\\s");
}

}  // namespace
}  // namespace qv
