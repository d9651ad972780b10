// The 9x password path, in-process with the test-built PASSWORD.CPL beside this program, and
// across processes with the saver probe for the module and change-password cases.
#include <gtest/gtest.h>

#include <string>

#include "fault_reports.h"
#include "host_test_window.h"
#include "process_runner.h"

namespace {

typedef void (*ScriptFn)(const int*, int, void (*)(HWND));
typedef int (*CallsFn)();

DWORD fakeNow;
DWORD WINAPI FakeTick() { return fakeNow; }

void SetPasswordInForce(DWORD value) {
  HKEY key;
  ASSERT_EQ(RegCreateKeyA(HKEY_CURRENT_USER, "Control Panel\\Desktop", &key), ERROR_SUCCESS);
  RegSetValueExA(key, "ScreenSaveUsePassword", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof value);
  RegCloseKey(key);
}

bool SystemSaysSaverRuns() {
  BOOL running = FALSE;
  SystemParametersInfoA(SPI_GETSCREENSAVERRUNNING, 0, &running, 0);
  return running != FALSE;
}

class PasswordPath : public ::testing::Test {
 protected:
  void SetUp() override {
    OpenTestSaver(&saver);
    saver.host.win9x = true;
    saver.host.tickCount = FakeTick;
    SetPasswordInForce(1);
  }
  void TearDown() override {
    DestroySaverWindow(window);
    UnloadPasswordVerifier(&saver.host);
    SetPasswordInForce(0);
  }

  // Loads the verifier as RunSaver does and scripts its answers.
  void LoadWithAnswers(std::initializer_list<int> answers, void (*during)(HWND) = nullptr) {
    LoadPasswordVerifier(&saver.host);
    ASSERT_NE(saver.host.passwordLibrary, nullptr) << "test-built PASSWORD.CPL beside the test program";
    ASSERT_NE(saver.host.verifyPasswordFn, nullptr);
    script = reinterpret_cast<ScriptFn>(GetProcAddress(saver.host.passwordLibrary, "FakePasswordScript"));
    calls = reinterpret_cast<CallsFn>(GetProcAddress(saver.host.passwordLibrary, "FakePasswordCalls"));
    std::vector<int> list(answers);
    script(list.data(), static_cast<int>(list.size()), during);
    window = MakeSaverWindow(&saver);
    TakeQueuedCloses(window);
  }

  // A close request as the loop would deliver it.
  void RequestClose(DWORD now) {
    fakeNow = now;
    SendMessageA(window, WM_CLOSE, 0, 0);
  }

  TestSaver saver;
  HWND window = nullptr;
  ScriptFn script = nullptr;
  CallsFn calls = nullptr;
};

TEST_F(PasswordPath, RunningStateFollowsTheVerifier) {
  LoadWithAnswers({});
  EXPECT_TRUE(SystemSaysSaverRuns());
  UnloadPasswordVerifier(&saver.host);
  EXPECT_EQ(saver.host.passwordLibrary, nullptr);
  EXPECT_EQ(saver.host.verifyPasswordFn, nullptr);
  EXPECT_FALSE(SystemSaysSaverRuns());
  EXPECT_EQ(GetModuleHandleA("PASSWORD.CPL"), nullptr);
}

TEST_F(PasswordPath, NoPasswordAskedApprovesTheFirstClose) {
  SetPasswordInForce(0);
  LoadPasswordVerifier(&saver.host);
  EXPECT_EQ(saver.host.passwordLibrary, nullptr);
  EXPECT_FALSE(SystemSaysSaverRuns());
  window = MakeSaverWindow(&saver);
  RequestClose(1000);
  EXPECT_EQ(saver.host.closeApproved, 1);
  EXPECT_FALSE(IsWindow(window));
}

TEST_F(PasswordPath, RefusalKeepsTheWindowAndTheGapRefusesSilently) {
  LoadWithAnswers({0, 0, 1});
  SetCursorPos(321, 123);
  saver.host.savedCursorPos = POINT{0, 0};

  RequestClose(1000);  // the first request is never held back by the gap
  EXPECT_EQ(calls(), 1);
  EXPECT_TRUE(IsWindow(window));
  EXPECT_EQ(saver.host.closeApproved, 0);
  EXPECT_EQ(saver.host.lastPromptEndTick, 1000u);
  EXPECT_EQ(saver.host.savedCursorPos.x, 321) << "a refusal re-records the cursor";
  EXPECT_EQ(saver.host.savedCursorPos.y, 123);

  RequestClose(1150);
  EXPECT_EQ(calls(), 1) << "150 ms after the prompt: refused without a prompt";
  RequestClose(1199);
  EXPECT_EQ(calls(), 1);
  EXPECT_TRUE(IsWindow(window));

  RequestClose(1200);
  EXPECT_EQ(calls(), 2) << "exactly 200 ms after: prompts again";
  EXPECT_TRUE(IsWindow(window));

  RequestClose(1450);
  EXPECT_EQ(calls(), 3) << "250 ms after: prompts again";
  EXPECT_EQ(saver.host.closeApproved, 1);
  EXPECT_FALSE(IsWindow(window));
}

TEST_F(PasswordPath, GapIsMeasuredAcrossTheTickWrap) {
  LoadWithAnswers({0, 0, 1});
  RequestClose(0xFFFFFFF0u);
  EXPECT_EQ(calls(), 1);
  RequestClose(0x00000050u);  // 96 ms later
  EXPECT_EQ(calls(), 1);
  RequestClose(0x000000B8u);  // 200 ms later
  EXPECT_EQ(calls(), 2);
}

// What the prompt sees while it is open, filled in by PromptWork.
struct PromptObservation {
  bool promptActive;
  LRESULT nestedClose;
  bool timerReachedAnimation;
  int closesPosted;
} observed;

void PromptWork(HWND window) {
  TestSaver* saver = TestSaverOf(window);
  observed.promptActive = saver->host.passwordPromptActive;
  SendMessageA(window, WM_KEYDOWN, 'A', 0);  // input while the prompt is open dismisses nothing
  observed.closesPosted = TakeQueuedCloses(window);
  observed.nestedClose = SendMessageA(window, WM_CLOSE, 0, 0);  // refused at once, no second prompt
  saver->reached.clear();
  SendMessageA(window, WM_TIMER, 1, 0);  // timers the prompt's own loop dispatches still animate
  observed.timerReachedAnimation = Reached(*saver, WM_TIMER);
}

TEST_F(PasswordPath, PromptDropsTwoQueuedTimersAndGuardsAgainstReentry) {
  observed = PromptObservation{};
  LoadWithAnswers({0}, PromptWork);
  for (int i = 0; i < 3; ++i) PostMessageA(window, WM_TIMER, 1, 0);

  RequestClose(5000);
  EXPECT_EQ(calls(), 1) << "the nested close request opened no second prompt";
  EXPECT_TRUE(observed.promptActive);
  EXPECT_EQ(observed.nestedClose, 0);
  EXPECT_EQ(observed.closesPosted, 0);
  EXPECT_TRUE(observed.timerReachedAnimation);
  EXPECT_FALSE(saver.host.passwordPromptActive);
  EXPECT_EQ(TakeQueuedTimers(window), 1) << "two of the three queued timers were dropped";
  EXPECT_TRUE(IsWindow(window));
}

TEST_F(PasswordPath, PasswordRequestWithoutVerifierApproves) {
  window = MakeSaverWindow(&saver);
  EXPECT_EQ(SendMessageA(window, WM_APP, 0, 0), 1);
  saver.host.win9x = false;
  EXPECT_EQ(SendMessageA(window, WM_APP, 0, 0), 0) << "WM_APP means nothing outside the 9x family";
}

// ---- Across processes: the saver probe with the 9x path forced -------------------------------------

class PasswordModules : public ::testing::Test {
 protected:
  void SetUp() override {
    log = ProgramFolder() + "probe.log";
    DeleteFileA(log.c_str());
    SetPasswordInForce(1);
  }
  void TearDown() override { SetPasswordInForce(0); }
  std::string log;
};

TEST_F(PasswordModules, ModuleWithoutTheEntryIsFreedAndTheStateNeverSet) {
  DWORD code = RunProgram(ProgramFolder() + "noentry\\saver_probe.exe", "/s",
                          {"MORVANE_PROBE_WIN9X=1", "MORVANE_PROBE_AUTOCLOSE=1", "MORVANE_PROBE_LOG=" + log});
  EXPECT_EQ(code, 0u);
  EXPECT_EQ(ReadWholeFile(log),
            "password module attached\npassword module detached running=0\n"
            "create library=0 verifier=0 running=0\ndestroy\n");
}

TEST_F(PasswordModules, VerifierApprovesAndTheStateIsSwitchedOffAfterTheLoop) {
  DWORD code = RunProgram(ProgramFolder() + "saver_probe.exe", "/s",
                          {"MORVANE_PROBE_WIN9X=1", "MORVANE_PROBE_AUTOCLOSE=1", "MORVANE_PROBE_LOG=" + log});
  EXPECT_EQ(code, 0u);
  EXPECT_EQ(ReadWholeFile(log),
            "password module attached\ncreate library=1 verifier=1 running=1\nverify 1\ndestroy\n"
            "password module detached running=1\n");
}

TEST_F(PasswordModules, AFaultSwitchesTheRunningStateOffBeforeTheProcessEnds) {
  // No debugger: the system's report tells the program to handle the fault itself.
  DWORD code;
  {
    NoFaultDebugger noDebugger;
    code = RunProgram(ProgramFolder() + "saver_probe.exe", "/s",
                      {"MORVANE_PROBE_WIN9X=1", "MORVANE_PROBE_FAULT=1", "MORVANE_PROBE_LOG=" + log});
  }
  EXPECT_EQ(code, DWORD(EXCEPTION_ACCESS_VIOLATION));
  EXPECT_EQ(ReadWholeFile(log),
            "password module attached\ncreate library=1 verifier=1 running=1\nfault\n"
            "password module detached running=0\n");
}

TEST_F(PasswordModules, NtFamilyAndPreviewNeverLoadTheVerifier) {
  DWORD code = RunProgram(ProgramFolder() + "saver_probe.exe", "/s",
                          {"MORVANE_PROBE_AUTOCLOSE=1", "MORVANE_PROBE_LOG=" + log});
  EXPECT_EQ(code, 0u);
  EXPECT_EQ(ReadWholeFile(log), "create library=0 verifier=0 running=0\ndestroy\n");

  DeleteFileA(log.c_str());
  HWND parent = CreateWindowExA(0, "STATIC", "parent", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 200, 150, nullptr,
                                nullptr, nullptr, nullptr);
  code = RunProgram(ProgramFolder() + "saver_probe.exe",
                    "/p " + std::to_string(reinterpret_cast<ULONG_PTR>(parent)),
                    {"MORVANE_PROBE_WIN9X=1", "MORVANE_PROBE_AUTOCLOSE=1", "MORVANE_PROBE_LOG=" + log});
  DestroyWindow(parent);
  EXPECT_EQ(code, 0u);
  EXPECT_EQ(ReadWholeFile(log), "create library=0 verifier=0 running=0\ndestroy\n");
}

// Wine's per-program DLL override: "native" takes the stand-in beside the program, "" none at all.
void OverrideModuleFor(const char* program, const char* module, const char* order) {
  std::string path = std::string("Software\\Wine\\AppDefaults\\") + program + "\\DllOverrides";
  HKEY key;
  ASSERT_EQ(RegCreateKeyA(HKEY_CURRENT_USER, path.c_str(), &key), ERROR_SUCCESS);
  RegSetValueExA(key, module, 0, REG_SZ, reinterpret_cast<const BYTE*>(order), lstrlenA(order) + 1);
  RegCloseKey(key);
}

void DropOverridesFor(const char* program) {
  RegDeleteKeyA(HKEY_CURRENT_USER, (std::string("Software\\Wine\\AppDefaults\\") + program + "\\DllOverrides").c_str());
  RegDeleteKeyA(HKEY_CURRENT_USER, (std::string("Software\\Wine\\AppDefaults\\") + program).c_str());
}

TEST_F(PasswordModules, ChangePasswordCallsTheSystemDialogWhenThereIsOne) {
  HWND owner = CreateWindowExA(0, "STATIC", "owner", WS_OVERLAPPEDWINDOW, 0, 0, 100, 100, nullptr, nullptr, nullptr,
                               nullptr);
  std::string handle = std::to_string(reinterpret_cast<ULONG_PTR>(owner));
  OverrideModuleFor("mpr_probe.exe", "mpr", "native");
  OverrideModuleFor("saver_probe.exe", "mpr", "");

  DWORD code = RunProgram(ProgramFolder() + "mpr-probe\\mpr_probe.exe", "/a " + handle,
                          {"MORVANE_PROBE_WIN9X=1", "MORVANE_PROBE_LOG=" + log});
  EXPECT_EQ(code, 0u);
  EXPECT_EQ(ReadWholeFile(log), "change SCRSAVE " + handle + " 0 0\n");

  DeleteFileA(log.c_str());
  code = RunProgram(ProgramFolder() + "saver_probe.exe", "/a " + handle,
                    {"MORVANE_PROBE_WIN9X=1", "MORVANE_PROBE_LOG=" + log});
  EXPECT_EQ(code, 0u) << "no change-password module: nothing shown, still 0";
  EXPECT_EQ(ReadWholeFile(log), "");

  code = RunProgram(ProgramFolder() + "mpr-probe\\mpr_probe.exe", "/a " + handle, {"MORVANE_PROBE_LOG=" + log});
  EXPECT_EQ(code, DWORD(-1)) << "'/a' outside the 9x family is refused";
  EXPECT_EQ(ReadWholeFile(log), "");

  DropOverridesFor("mpr_probe.exe");
  DropOverridesFor("saver_probe.exe");
  DestroyWindow(owner);
}

}  // namespace
