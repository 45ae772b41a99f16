// The real Quorbel.exe driven from outside under Wine, with vorlsim as the
// instrument.  Each test starts the program a few times and checks several
// things per start.
#include "database/SecretText.h"
#include "res/resource.h"
#include "tests/dialogs/DialogDriver.h"
#include "tests/scenarios/OdbcQuery.h"
#include "tests/scenarios/QuorbelProcess.h"
#include "tests/support/TempDir.h"
#include "tools/vorlsim/TcpServer.h"
#include "tools/vorlsim/launcher/SimulatorProcess.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <optional>
#include <regex>
#include <set>

namespace
{
// Paths handed in from the Linux side name the same files on drive Z:.
std::string FromEnvironment(const char* name)
{
    std::string path = std::getenv(name) ? std::getenv(name) : "";
    if (path.rfind('/', 0) == 0)
        path = "Z:" + std::regex_replace(path, std::regex("/"), "\\");
    return path;
}

std::vector<std::string> FileLines(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);)
        lines.push_back(line.substr(0, line.find_last_not_of('\r') + 1));
    return lines;
}

std::string TcpStatus(int port)
{
    return "< ETHERNET TCP, Server port = " + std::to_string(port) + ", IP = 127.0.0.1 >";
}

size_t CountContaining(const std::vector<std::string>& lines, const std::string& part)
{
    return static_cast<size_t>(std::count_if(lines.begin(), lines.end(), [&](const std::string& line) {
        return line.find(part) != std::string::npos;
    }));
}

RECT NormalPosition(HWND window)
{
    WINDOWPLACEMENT placement{};
    placement.length = sizeof placement;
    GetWindowPlacement(window, &placement);
    return placement.rcNormalPosition;
}

using Q = CQuorbelProcess;
using namespace DialogDriver;
}

class Scenario : public testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_FALSE(m_exe.empty()) << "QUORBEL_EXE names no program";
    }

    std::string Path(const std::string& name) const { return m_dir.Join(name); }

    void WriteIni(int linkType, int port, int storeType = 0, int language = 0,
                  const std::string& ip = "127.0.0.1") const
    {
        std::ofstream(Path("Quorbel.ini"), std::ios::binary)
            << "[Option]\r\nStoreTxt=" << storeType << "\r\nLanguage=" << language
            << "\r\n[FieldsInUse]\r\nNumber_0=1\r\nNumber_2=1\r\n[FieldsName]\r\nName_0=P\r\nName_2=R\r\n"
            << "[Input]\r\nComPort=4\r\nUsbRs232=" << linkType << "\r\n[Ehernet]\r\nServerPort=" << port
            << "\r\nIP=" << ip << "\r\n";
    }

    std::string DayFile() const
    {
        const std::time_t now = std::time(nullptr);
        char name[32];
        std::strftime(name, sizeof name, "RESULT\\%Y-%m-%d.TXT", std::localtime(&now));
        return Path(name);
    }

    // vorlsim serving `args` over TCP to one client; its port.
    int StartSimulator(const std::vector<std::string>& args)
    {
        std::vector<std::string> all = {"tcp", "--port", "0", "--clients", "1", "--ready-file",
                                        Path("ready.txt"), "--separator", "semicolon", "--echo"};
        all.insert(all.end(), args.begin(), args.end());
        return m_simulator.Start(all, Path("echo.txt")) ? m_simulator.WaitForPort(Path("ready.txt"))
                                                        : 0;
    }

    // A fresh start of the program (or `exe`) in the test's folder (or
    // `folder`), once the one before has ended.
    Q& Start(const std::string& exe = "", const std::string& folder = "")
    {
        m_quorbel.reset();
        EXPECT_TRUE(m_quorbel.emplace().Start(exe.empty() ? m_exe : exe,
                                              folder.empty() ? m_dir.Path() : folder));
        return *m_quorbel;
    }

    HWND StartMain() { return Start().MainWindow(); }

    static bool AwaitListLine(HWND main, const std::string& line)
    {
        return Q::WaitUntil([&] {
            const std::vector<std::string> lines = ListLines(main, IDC_RECEIVER_FRAME_LIST);
            return std::find(lines.begin(), lines.end(), line) != lines.end();
        });
    }

    static bool AwaitText(HWND dialog, int id, const std::string& text)
    {
        return Q::WaitUntil([&] { return Text(dialog, id) == text; });
    }

    // Fills the setup dialog for Ethernet TCP to vorlsim and confirms it.
    static void ConfirmTcpSetup(HWND setup, int port)
    {
        SelectComboItem(setup, IDC_SETUP_INPUT_PORT, 1);  // Ethernet TCP
        SetText(setup, IDC_SETUP_SERVER_PORT, std::to_string(port));
        Send(GetDlgItem(setup, IDC_SETUP_SERVER_IP), IPM_SETADDRESS, 0, MAKEIPADDRESS(127, 0, 0, 1));
        PostClick(setup, IDOK);
    }

    // With QUORBEL_SCREENSHOTS naming a folder, asks the script that watches
    // it (tools/take-screenshots.sh) for a picture of the screen.
    void Screenshot(HWND window, const std::string& name) const
    {
        const std::string folder = FromEnvironment("QUORBEL_SCREENSHOTS");
        if (folder.empty())
            return;
        Send(window, WM_NCACTIVATE, TRUE);
        std::ofstream(folder + "\\" + name + ".want");
        const std::string done = folder + "\\" + name + ".done";
        EXPECT_TRUE(Q::WaitUntil([&] { return std::filesystem::exists(done); })) << done;
    }

    CTempDir m_dir;
    CSimulatorProcess m_simulator;
    std::optional<Q> m_quorbel;
    const std::string m_exe = FromEnvironment("QUORBEL_EXE");
};

// A first start shows the setup dialog first; Cancel ends it without a
// file, OK saves the link and opens the main window, whose TCP link takes
// vorlsim's frames into the day file.  Then the list, the tray and the exit.
TEST_F(Scenario, FirstRunTcpFramesTrayAndExit)
{
    const HWND cancelled = Start().WaitForDialog("Quorbel setup");
    ASSERT_TRUE(cancelled);
    EXPECT_FALSE(m_quorbel->WaitForDialog("VORL", true, 0));
    PostClick(cancelled, IDCANCEL);
    ASSERT_TRUE(m_quorbel->WaitForExit());
    EXPECT_FALSE(std::filesystem::exists(Path("Quorbel.ini")));
    const int port = StartSimulator({"--count", "5", "--rate", "20"});
    ASSERT_NE(port, 0);
    Q& quorbel = Start();
    const HWND setup = quorbel.WaitForDialog("Quorbel setup");
    ASSERT_TRUE(setup);
    ConfirmTcpSetup(setup, port);
    const HWND main = quorbel.MainWindow();
    ASSERT_TRUE(main);
    EXPECT_EQ(GetPrivateProfileIntA("Input", "UsbRs232", -1, Path("Quorbel.ini").c_str()), 1u);

    ASSERT_TRUE(Q::WaitUntil([&] { return FileLines(DayFile()).size() >= 5; }));
    const std::vector<std::string> frames = FileLines(Path("echo.txt"));
    ASSERT_EQ(frames.size(), 5u);
    EXPECT_EQ(FileLines(DayFile()), frames);
    EXPECT_TRUE(AwaitText(main, IDC_RECEIVER_FRAME_COUNTER, "00005"));
    std::vector<std::string> list = ListLines(main, IDC_RECEIVER_FRAME_LIST);
    ASSERT_GE(list.size(), 7u);
    const std::string where = "127.0.0.1 on port " + std::to_string(port) + "\r\n";
    EXPECT_EQ(list[0], "Connect to server: " + where);
    EXPECT_EQ(list[1], "Connection established with server: " + where);
    EXPECT_EQ(std::vector<std::string>(list.begin() + 2, list.begin() + 7), frames);
    EXPECT_EQ(Text(main, IDC_RECEIVER_STORED_FRAME), frames.back());
    EXPECT_EQ(Text(main, IDC_RECEIVER_STATUS_LINK), TcpStatus(port));
    // vorlsim leaves after its frames.
    EXPECT_TRUE(AwaitListLine(main, "Connection Abandonned\r\n"));
    Screenshot(main, "frames");

    PostClick(main, ID_TRAY_ABOUT);
    const HWND about = quorbel.WaitForDialog("About Quorbel ");
    ASSERT_TRUE(about);
    EXPECT_EQ(Text(about, IDC_ABOUT_VERSION), " Quorbel Version : 2. 0. 0. 0");
    Screenshot(about, "about");
    PostClick(about, IDOK);
    EXPECT_TRUE(Q::WaitUntil([&] { return !IsWindow(about); }));

    Click(main, IDC_RECEIVER_CLEAR_LIST);
    EXPECT_EQ(Text(main, IDC_RECEIVER_FRAME_COUNTER), "00000");
    EXPECT_EQ(Text(main, IDC_RECEIVER_STORED_FRAME), "");
    EXPECT_TRUE(ListLines(main, IDC_RECEIVER_FRAME_LIST).empty());

    Send(main, WM_SYSCOMMAND, SC_MINIMIZE);
    EXPECT_FALSE(IsWindowVisible(main));
    EXPECT_FALSE(IsIconic(main));
    Q::PostTrayEvent(main, WM_LBUTTONDBLCLK);
    EXPECT_TRUE(Q::WaitUntil([&] { return IsWindowVisible(main) != FALSE; }));
    Send(main, WM_SYSCOMMAND, SC_MINIMIZE);
    PostClick(main, ID_TRAY_SHOW_DIALOG);
    EXPECT_TRUE(Q::WaitUntil([&] { return IsWindowVisible(main) != FALSE; }));
    if (!FromEnvironment("QUORBEL_SCREENSHOTS").empty())
    {
        // The script right-clicks the icon itself, as an operator does.
        Screenshot(main, "tray-menu");
        // Closes the menu as a click elsewhere does.
        PostMessageA(main, WM_CANCELMODE, 0, 0);
    }

    SetWindowPos(main, nullptr, 40, 30, 900, 700, SWP_NOZORDER | SWP_NOACTIVATE);
    const RECT moved = NormalPosition(main);
    Q::SetSavedPlacement({});
    PostClick(main, ID_TRAY_EXIT);
    ASSERT_TRUE(quorbel.WaitForExit());
    const std::vector<BYTE> saved = Q::SavedPlacement();
    ASSERT_EQ(saved.size(), sizeof(WINDOWPLACEMENT));
    const RECT& place = reinterpret_cast<const WINDOWPLACEMENT*>(saved.data())->rcNormalPosition;
    EXPECT_TRUE(EqualRect(&place, &moved));
}

// Store type 3 over TCP: one header line, dated lines of the selected
// fields, frames with fewer than three fields shown (cut to 259 characters)
// but neither counted nor written.  The saved placement is taken; one of the wrong size is not.
TEST_F(Scenario, SelectedFieldsWithDateAndPlacementRestore)
{
    std::ofstream(Path("frames.txt"), std::ios::binary)
        << "1;2;3\nonly;two\nA;B;C;D\nx;y\n" << std::string(300, 'L') << "\n";
    const int port = StartSimulator({"--file", Path("frames.txt"), "--count", "5", "--rate", "2"});
    ASSERT_NE(port, 0);
    WriteIni(1, port, 3);
    WINDOWPLACEMENT placed{sizeof placed, 0, SW_SHOWNORMAL, {-1, -1}, {-1, -1}, {60, 50, 940, 730}};
    const BYTE* bytes = reinterpret_cast<const BYTE*>(&placed);
    Q::SetSavedPlacement({bytes, bytes + sizeof placed});
    {
        const HWND main = StartMain();
        ASSERT_TRUE(main);
        const RECT shown = NormalPosition(main);
        EXPECT_TRUE(EqualRect(&shown, &placed.rcNormalPosition));

        ASSERT_TRUE(Q::WaitUntil([&] { return ListLines(main, IDC_RECEIVER_FRAME_LIST).size() >= 7; }));
        const std::vector<std::string> lines = FileLines(DayFile());
        ASSERT_EQ(lines.size(), 3u);
        EXPECT_EQ(lines[0], "Date-Time;P;R;");
        const std::string stamp = "\\d\\d/\\d\\d/\\d{4} \\d\\d:\\d\\d:\\d\\d ;";
        EXPECT_TRUE(std::regex_match(lines[1], std::regex(stamp + "1 ; 3 "))) << lines[1];
        EXPECT_TRUE(std::regex_match(lines[2], std::regex(stamp + "A ; C "))) << lines[2];
        EXPECT_TRUE(AwaitText(main, IDC_RECEIVER_STORED_FRAME, "Frame format error !!!"));
        EXPECT_EQ(Text(main, IDC_RECEIVER_FRAME_COUNTER), "00002");
        const std::vector<std::string> list = ListLines(main, IDC_RECEIVER_FRAME_LIST);
        std::vector<std::string> sent = FileLines(Path("echo.txt"));
        sent.back().resize(259);
        EXPECT_EQ(std::vector<std::string>(list.begin() + 2, list.begin() + 7), sent);
    }
    m_quorbel.reset();  // its exit saves the placement
    Q::SetSavedPlacement({bytes, bytes + sizeof placed - 4});
    const HWND main = StartMain();
    ASSERT_TRUE(main);
    const RECT shown = NormalPosition(main);
    EXPECT_FALSE(EqualRect(&shown, &placed.rcNormalPosition));
    // vorlsim served its one client: this start cannot connect.
    EXPECT_TRUE(AwaitListLine(main, " -> failed !!!"));
}

// English, French and Italian windows differ; a missing language library,
// or a language that has none, gives one error box, ends the program and
// resets the language.
TEST_F(Scenario, LanguagesAndMissingLibrary)
{
    std::set<std::string> clearListTexts;
    const char* const shots[] = {"main-en", "main-fr", "main-it"};
    for (int language = 0; language < 3; ++language)
    {
        WriteIni(1, 1, 0, language);
        const HWND main = StartMain();
        ASSERT_TRUE(main) << language;
        AwaitText(main, IDC_RECEIVER_STATUS_LINK, TcpStatus(1));
        clearListTexts.insert(Text(main, IDC_RECEIVER_CLEAR_LIST));
        Screenshot(main, shots[language]);
    }
    EXPECT_EQ(clearListTexts.size(), 3u);

    const std::string alone = Path("alone");
    CreateDirectoryA(alone.c_str(), nullptr);
    const std::string exe = alone + "\\Quorbel.exe";
    ASSERT_TRUE(CopyFileA(m_exe.c_str(), exe.c_str(), FALSE));
    for (const auto& [language, library] : {std::pair<int, const char*>{1, "QuorbelFr.dll"}, {3, ""}})
    {
        WriteIni(1, 1, 0, language);
        CopyFileA(Path("Quorbel.ini").c_str(), (alone + "\\Quorbel.ini").c_str(), FALSE);
        EXPECT_EQ(Start(exe, alone).AnswerMessageBox("Quorbel"),
                  std::string("Error: Cannot find component :  ") + library +
                      "\n\n-> Default langue will be load")
            << language;
        EXPECT_TRUE(m_quorbel->WaitForExit()) << language;
        EXPECT_EQ(GetPrivateProfileIntA("Option", "Language", -1, (alone + "\\Quorbel.ini").c_str()), 0u)
            << language;
    }
}

// Lines that cannot be written while the program runs are announced once,
// survive the exit and reach the day file, in order, at the next start.
TEST_F(Scenario, LinesWaitingAtExitAreWrittenAtNextStart)
{
    const int port = StartSimulator({"--count", "3", "--rate", "10"});
    ASSERT_NE(port, 0);
    WriteIni(1, port);
    CreateDirectoryA(Path("RESULT").c_str(), nullptr);
    const HANDLE held = CreateFileA(DayFile().c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                    FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    const std::string fileName = DayFile().substr(DayFile().rfind('\\') + 1);
    {
        const HWND main = StartMain();
        ASSERT_TRUE(main);
        ASSERT_TRUE(Q::WaitUntil([&] { return FileLines(Path("echo.txt")).size() == 3; }));
        AwaitListLine(main, FileLines(Path("echo.txt")).back());
        EXPECT_EQ(CountContaining(ListLines(main, IDC_RECEIVER_FRAME_LIST), fileName), 1u);
        PostClick(main, IDCANCEL);
        ASSERT_TRUE(m_quorbel->WaitForExit());
    }
    CloseHandle(held);
    EXPECT_TRUE(FileLines(DayFile()).empty());
    const HWND main = StartMain();
    ASSERT_TRUE(main);
    EXPECT_TRUE(Q::WaitUntil([&] { return FileLines(DayFile()) == FileLines(Path("echo.txt")); }));
    EXPECT_TRUE(Q::WaitUntil([&] { return CountContaining(ListLines(main, IDC_RECEIVER_FRAME_LIST), "waiting") >= 1; }));
}

// Frames from a serial port (a pseudo-terminal that scenario-serial.sh maps
// as COM5 and feeds with the native vorlsim), then a setup that switches to
// Ethernet TCP: the status line follows and the TCP frames go on into the
// same day file.
TEST_F(Scenario, SerialFramesThenSetupSwitchesToTcp)
{
    const std::string pty = FromEnvironment("QUORBEL_PTY_DIR");
    ASSERT_FALSE(pty.empty()) << "scenario-serial.sh runs this test";
    const int port = StartSimulator({"--count", "3", "--rate", "20"});
    ASSERT_NE(port, 0);
    WriteIni(0, port);
    const HWND main = StartMain();
    ASSERT_TRUE(main);
    // Setup cancelled before the first tick must not leave the port unread.
    PostClick(main, IDC_RECEIVER_SETUP);
    const HWND early = m_quorbel->WaitForDialog("Quorbel setup");
    ASSERT_TRUE(early);
    PostClick(early, IDCANCEL);
    AwaitListLine(main, " -> succeded !!!");
    EXPECT_EQ(Text(main, IDC_RECEIVER_STATUS_LINK).rfind("< Com5 : ", 0), 0u)
        << Text(main, IDC_RECEIVER_STATUS_LINK);
    std::ofstream(pty + "\\opened");
    ASSERT_TRUE(Q::WaitUntil([&] { return std::filesystem::exists(pty + "\\sent"); }, 60000));
    std::vector<std::string> expected = FileLines(pty + "\\echo.txt");
    ASSERT_FALSE(expected.empty());
    EXPECT_TRUE(Q::WaitUntil([&] { return FileLines(DayFile()) == expected; }));

    PostClick(main, IDC_RECEIVER_SETUP);
    const HWND setup = m_quorbel->WaitForDialog("Quorbel setup");
    ASSERT_TRUE(setup);
    ConfirmTcpSetup(setup, port);
    EXPECT_TRUE(AwaitText(main, IDC_RECEIVER_STATUS_LINK, TcpStatus(port)));
    const size_t serialCount = expected.size();
    ASSERT_TRUE(Q::WaitUntil([&] { return FileLines(DayFile()).size() >= serialCount + 3; }));
    const std::vector<std::string> tcpFrames = FileLines(Path("echo.txt"));
    expected.insert(expected.end(), tcpFrames.begin(), tcpFrames.end());
    EXPECT_EQ(FileLines(DayFile()), expected);
}

// Setup and OK with the link left as it was keeps the connection: no frame
// is lost and a host name the address control cannot show stays.  An
// address that cannot work says so like any failed connection.
TEST_F(Scenario, SetupOkKeepsAnUnchangedLinkAndItsHostName)
{
    const int port = StartSimulator({"--count", "60", "--rate", "20"});
    ASSERT_NE(port, 0);
    WriteIni(1, port, 0, 0, "localhost");
    {
        const HWND main = StartMain();
        ASSERT_TRUE(main);
        ASSERT_TRUE(Q::WaitUntil([&] { return FileLines(DayFile()).size() >= 3; }));
        for (int round = 0; round < 2; ++round)
        {
            PostClick(main, IDC_RECEIVER_SETUP);
            const HWND setup = m_quorbel->WaitForDialog("Quorbel setup");
            ASSERT_TRUE(setup);
            PostClick(setup, IDOK);
            ASSERT_TRUE(Q::WaitUntil([&] { return !IsWindow(setup); }));
        }
        ASSERT_TRUE(Q::WaitUntil([&] { return FileLines(Path("echo.txt")).size() == 60; }));
        EXPECT_TRUE(Q::WaitUntil([&] { return FileLines(DayFile()) == FileLines(Path("echo.txt")); }));
        EXPECT_EQ(CountContaining(ListLines(main, IDC_RECEIVER_FRAME_LIST), "Connect to server"), 1u);
        char ip[64] = {};
        GetPrivateProfileStringA("Ehernet", "IP", "", ip, sizeof ip, Path("Quorbel.ini").c_str());
        EXPECT_STREQ(ip, "localhost");
    }
    WriteIni(1, port, 0, 0, "");
    const HWND main = StartMain();
    ASSERT_TRUE(main);
    EXPECT_TRUE(AwaitListLine(main, "Connect to server:  on port " + std::to_string(port) + "\r\n"));
    EXPECT_TRUE(AwaitListLine(main, " -> failed !!!"));
}

// The printer's message box (no default printer here) belongs to the main
// window, which no click reaches meanwhile.  A burst that comes while it
// and the About box over it are up is stored at once: every line in the
// day file with the stamp of its arrival, the window answering all along.
// A Setup that arrives meanwhile waits for the printout; then Setup and
// Exit work.
TEST_F(Scenario, ABurstUnderAMessageBoxAndTheAboutBoxIsStoredAtOnceAndFreezesNothing)
{
    CTcpServer instrument;
    std::string error;
    ASSERT_TRUE(instrument.Listen("127.0.0.1", 0, error)) << error;
    WriteIni(1, instrument.Port(), 1);
    WritePrivateProfileStringA("Option", "PrintOut", "1", Path("Quorbel.ini").c_str());
    const HWND main = StartMain();
    ASSERT_TRUE(main);
    ASSERT_TRUE(instrument.Accept());
    const std::string first = "first;1;2\r\n";
    ASSERT_TRUE(instrument.Write(first.data(), first.size()));
    ASSERT_TRUE(m_quorbel->WaitForDialog("Quorbel"))
        << "no printer message box: is a default printer installed?";
    EXPECT_FALSE(IsWindowEnabled(main));
    PostMessageA(main, WM_COMMAND, ID_TRAY_ABOUT, 0);
    const HWND about = m_quorbel->WaitForDialog("About Quorbel ");
    ASSERT_TRUE(about);
    PostMessageA(main, WM_COMMAND, IDC_RECEIVER_SETUP, 0);

    constexpr int kBurst = 3000;
    std::string burst;
    for (int i = 0; i < kBurst; ++i)
        burst += "burst " + std::to_string(i) + ";1;2\r\n";
    ASSERT_TRUE(instrument.Write(burst.data(), burst.size()));
    const std::time_t sent = std::time(nullptr);
    DWORD slowest = 0;
    const bool stored = Q::WaitUntil([&] {
        const DWORD start = GetTickCount();
        DWORD_PTR ignored = 0;
        EXPECT_TRUE(SendMessageTimeoutA(main, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 250, &ignored));
        slowest = std::max(slowest, GetTickCount() - start);
        return FileLines(DayFile()).size() == kBurst + 1;
    });
    ASSERT_TRUE(stored) << FileLines(DayFile()).size();
    EXPECT_LE(slowest, 250u);
    std::tm stamp{};
    ASSERT_EQ(std::sscanf(FileLines(DayFile()).back().c_str(), "%d/%d/%d %d:%d:%d", &stamp.tm_mday,
                          &stamp.tm_mon, &stamp.tm_year, &stamp.tm_hour, &stamp.tm_min, &stamp.tm_sec), 6);
    stamp.tm_mon -= 1;
    stamp.tm_year -= 1900;
    stamp.tm_isdst = -1;
    EXPECT_LE(std::abs(std::difftime(std::mktime(&stamp), sent)), 1.0);
    EXPECT_TRUE(IsWindow(about));

    PostClick(about, IDOK);
    EXPECT_NE(m_quorbel->AnswerMessageBox("Quorbel"), "");
    const HWND setup = m_quorbel->WaitForDialog("Quorbel setup");
    ASSERT_TRUE(setup);
    PostClick(setup, IDOK);
    EXPECT_TRUE(AwaitListLine(main, "burst " + std::to_string(kBurst - 1) + ";1;2"));
    PostClick(main, ID_TRAY_EXIT);
    EXPECT_TRUE(m_quorbel->WaitForExit(15000));
}

// Every line of the list counts towards its 10001 lines, not only frames:
// the next lines the program adds (a Setup's new connection) make room;
// a Windows shutdown saves what an exit saves before the process is ended.
TEST_F(Scenario, TheListCapHoldsForEveryLineAndSessionEndSavesThePlacement)
{
    WriteIni(1, 1);
    const HWND main = StartMain();
    ASSERT_TRUE(main);
    ASSERT_TRUE(AwaitListLine(main, " -> failed !!!"));
    const HWND list = GetDlgItem(main, IDC_RECEIVER_FRAME_LIST);
    for (int i = 0; i < 10100; ++i)
        SendMessageTimeoutA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>("added"), SMTO_BLOCK, 5000, nullptr);
    PostClick(main, IDC_RECEIVER_SETUP);
    const HWND setup = m_quorbel->WaitForDialog("Quorbel setup");
    ASSERT_TRUE(setup);
    PostClick(setup, IDOK);
    EXPECT_TRUE(Q::WaitUntil([&] { return Send(list, LB_GETCOUNT) == 10001; }, 5000))
        << Send(list, LB_GETCOUNT);
    EXPECT_EQ(ListLines(main, IDC_RECEIVER_FRAME_LIST).back(), " -> failed !!!");

    Q::SetSavedPlacement({});
    EXPECT_EQ(Send(main, WM_QUERYENDSESSION), TRUE);
    Send(main, WM_ENDSESSION, TRUE, ENDSESSION_LOGOFF);
    m_quorbel->Kill();
    EXPECT_EQ(Q::SavedPlacement().size(), sizeof(WINDOWPLACEMENT));
}

// The central database on the real program: frames that read as SQL or
// hold a "\xB0" arrive as text.  With a wrong password the list says so
// and the rows wait in the outbox; the next start with the right one
// sends them: the table holds the day file's lines, once each, numbered
// from 1 without a gap.  An unreachable server says so too.
TEST_F(Scenario, CentralDatabaseGetsEveryLineOnceThroughAWrongPassword)
{
    const std::string pgPort = FromEnvironment("QUORBEL_PG_PORT");
    if (pgPort.empty())
        GTEST_SKIP() << "scenario-database.sh starts the server and runs this";
    const std::string server = "Driver={PostgreSQL Unicode};Server=127.0.0.1;Database=quorbel;Uid=postgres;Port=";
    std::ofstream(Path("frames.txt"), std::ios::binary)
        << "SN-1;P01;PASS\n" << "'); DROP TABLE quorbel_results; --;x;y\n" << "T;20.0\xB0" "C;OK\n";
    const int port = StartSimulator({"--count", "30", "--rate", "20", "--file", Path("frames.txt")});
    ASSERT_NE(port, 0);
    const auto start = [&](const std::string& databasePort, const std::string& password) {
        WriteIni(1, port, 1);
        const std::string ini = Path("Quorbel.ini");
        WritePrivateProfileStringA("DataBase", "Enabled", "1", ini.c_str());
        WritePrivateProfileStringA("DataBase", "ConnectionString", (server + databasePort).c_str(), ini.c_str());
        WritePrivateProfileStringA("DataBase", "Station", "ST-W", ini.c_str());
        WritePrivateProfileStringA("DataBase", "Password", SecretText::Protect(password).c_str(), ini.c_str());
        return StartMain();
    };
    HWND main = start(pgPort, "wrong");
    ASSERT_TRUE(main);
    ASSERT_TRUE(Q::WaitUntil([&] { return FileLines(DayFile()).size() == 30; }));
    EXPECT_TRUE(Q::WaitUntil([&] {
        return CountContaining(ListLines(main, IDC_RECEIVER_FRAME_LIST), "Central database not reached: ") == 1;
    }));
    PostClick(main, IDCANCEL);
    ASSERT_TRUE(m_quorbel->WaitForExit());
    EXPECT_FALSE(FileLines(Path("Quorbel.outbox")).empty());

    const std::string right = server + pgPort + ";Pwd=quorbel";
    main = start(pgPort, "quorbel");
    ASSERT_TRUE(main);
    EXPECT_TRUE(Q::WaitUntil([&] { return OdbcRows(right, "SELECT count(*) FROM quorbel_results") ==
                                          std::vector<std::string>{"30"}; }));
    const std::vector<std::string> rows =
        OdbcRows(right, "SELECT station, sequence, line FROM quorbel_results ORDER BY sequence");
    const std::vector<std::string> day = FileLines(DayFile());
    ASSERT_EQ(rows.size(), day.size()) << rows.front();
    for (size_t i = 0; i < rows.size(); ++i)
        EXPECT_EQ(rows[i], "ST-W|" + std::to_string(i + 1) + "|" + day[i]);
    EXPECT_NE(rows[1].find("'); DROP TABLE quorbel_results; --;x;y"), std::string::npos);
    EXPECT_NE(rows[2].find("T;20.0\xB0" "C;OK"), std::string::npos);
    EXPECT_TRUE(Q::WaitUntil([&] {
        return CountContaining(ListLines(main, IDC_RECEIVER_FRAME_LIST), "Central database: connected to PostgreSQL ") == 1;
    })) << ListLines(main, IDC_RECEIVER_FRAME_LIST).size();
    EXPECT_TRUE(AwaitText(main, IDC_RECEIVER_STATUS_DATABASE, "Central database: connected\n0 line(s) waiting"))
        << Text(main, IDC_RECEIVER_STATUS_DATABASE);
    PostClick(main, IDCANCEL);
    ASSERT_TRUE(m_quorbel->WaitForExit());

    main = start("1", "quorbel");
    ASSERT_TRUE(main);
    EXPECT_TRUE(Q::WaitUntil([&] {
        return CountContaining(ListLines(main, IDC_RECEIVER_FRAME_LIST), "Central database not reached: ") == 1;
    }));
}
