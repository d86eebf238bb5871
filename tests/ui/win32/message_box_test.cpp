// RuntimeMsgBox's real message box, read back through Win32 by win_probe (started from this
// suite's folder, answering the boxes of this process): its caption is the owner window's
// title, and its static text follows the message and explanation layout.
#include <gtest/gtest.h>

#include <windows.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "platform/message_box.h"
#include "runtime/exports/message_box_text.h"
#include "tests/support/string_helpers.h"
#include "ui/win32/ui_win32_services.h"

namespace qv::ui {
namespace {

HWND s_owner = nullptr;

std::wstring beside_this_program(const wchar_t* name)
{
    wchar_t path[MAX_PATH];
    const DWORD n = GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring folder(path, n);
    return folder.substr(0, folder.find_last_of(L"\\/") + 1) + name;
}

// The probe's record of a box: caption, tab, text, with CR, LF, tab and backslash escaped.
std::string record_of(const std::string& caption, const std::string& text)
{
    std::string out = caption + "\t";
    for (char c : text) {
        switch (c) {
        case '\r': out += "\\r"; break;
        case '\n': out += "\\n"; break;
        case '\t': out += "\\t"; break;
        case '\\': out += "\\\\"; break;
        default: out += c;
        }
    }
    return out;
}

class MessageBoxes : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        install_message_box_presenter();
        s_owner = CreateWindowExW(0, L"STATIC", L"所有者ウィンドウ", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 40, 40, 300, 200,
                                  nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
        wchar_t folder[MAX_PATH];
        GetTempPathW(MAX_PATH, folder);
        s_log = std::wstring(folder) + L"qv-message-boxes-" + std::to_wstring(GetCurrentProcessId()) + L".log";
        DeleteFileW(s_log.c_str());
        std::wstring command = L"\"" + beside_this_program(L"win_probe.exe") + L"\" dialogs --log \"" + s_log +
            L"\" --pid " + std::to_wstring(GetCurrentProcessId()) + L" --timeout 300";
        STARTUPINFOW startup{};
        startup.cb = sizeof startup;
        PROCESS_INFORMATION info{};
        if (CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &info)) {
            CloseHandle(info.hThread);
            s_probe = info.hProcess;
        }
    }
    static void TearDownTestSuite()
    {
        if (s_probe) {
            TerminateProcess(s_probe, 0);
            WaitForSingleObject(s_probe, 5000);
            CloseHandle(s_probe);
            s_probe = nullptr;
        }
        DeleteFileW(s_log.c_str());
        DestroyWindow(s_owner);
        set_message_box_presenter(nullptr);
    }
    void SetUp() override
    {
        ASSERT_NE(s_owner, nullptr);
        ASSERT_NE(s_probe, nullptr) << "win_probe.exe must sit beside the suite";
        m_previous_owner = platform::set_message_owner([] { return static_cast<void*>(s_owner); });
    }
    void TearDown() override { platform::set_message_owner(m_previous_owner); }

    // Shows the box (the probe presses OK) and gives the probe's record of it.
    static std::string show(const std::string& utf8)
    {
        const size_t before = records().size();
        if (WaitForSingleObject(s_probe, 0) != WAIT_TIMEOUT)
            return "<win_probe has ended: the box would stay open>";
        RuntimeMsgBox(test::utf8(utf8).get());
        for (const ULONGLONG end = GetTickCount64() + 10000; GetTickCount64() < end; Sleep(20)) {
            const std::vector<std::string> now = records();
            if (now.size() > before)
                return now.back();
        }
        return "<no box recorded>";
    }
    static std::vector<std::string> records()
    {
        std::ifstream file(std::filesystem::path(s_log), std::ios::binary);
        std::vector<std::string> lines;
        for (std::string line; std::getline(file, line);)
            lines.push_back(line);
        return lines;
    }

    static inline HANDLE s_probe = nullptr;
    static inline std::wstring s_log;
    platform::MessageOwner m_previous_owner = nullptr;
};

TEST_F(MessageBoxes, TheOwnersTitleIsTheCaptionAndTheTextKeepsItsLayout)
{
    const struct {
        const char* text;
        const char* shown;
    } cases[] = {
        {"保存しました", "保存しました"},
        {"保存しました\r\n\r\nファイルは閉じられます", "保存しました\r\n\r\nファイルは閉じられます"},
        {"一行目\r\n二行目\r\n\r\n説明\r\n\r\n続き", "一行目\r\n二行目\r\n\r\n説明\r\n\r\n続き"},
        {"\r\n\r\n空行で始まる", "\r\n\r\n空行で始まる"},
        {"説明なし\r\n\r\n", "説明なし"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(show(c.text), record_of("所有者ウィンドウ", c.shown)) << c.text;
}

TEST_F(MessageBoxes, WithoutAnOwnerTheCaptionIsEmpty)
{
    platform::set_message_owner(nullptr);
    EXPECT_EQ(show("持ち主なし\r\n\r\n説明"), record_of("", "持ち主なし\r\n\r\n説明"));
}

}  // namespace
}  // namespace qv::ui
