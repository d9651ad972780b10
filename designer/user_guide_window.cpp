#include "user_guide_window.h"

#include <cstdlib>

#include "designer_resources.h"
#include "designer_state.h"
#include "saver_host.h"
#include "ui_language.h"
#include "user_guide.h"

namespace {

const size_t kMaxTopics = 16;

struct GuideView {
  GuideTopic topics[kMaxTopics];
  size_t count;
  bool win9x;  // the host's platform family
};

// Text as the guide's controls take it: wide on the NT family; on the 9x family, whose wide
// calls are stubs, in the ANSI code page, where offsets count bytes.
struct ControlText {
  bool win9x;
  wchar_t* wide;
  char* ansi;
  int length;  // in the units of the platform's form

  bool Take(const char* utf8, int size) {
    int wideLength = MultiByteToWideChar(CP_UTF8, 0, utf8, size, nullptr, 0);
    wide = static_cast<wchar_t*>(std::malloc((static_cast<size_t>(wideLength) + 1) * sizeof(wchar_t)));
    if (!wide) return false;
    MultiByteToWideChar(CP_UTF8, 0, utf8, size, wide, wideLength);
    wide[wideLength] = L'\0';
    length = wideLength;
    if (!win9x) return true;
    length = WideCharToMultiByte(CP_ACP, 0, wide, wideLength, nullptr, 0, nullptr, nullptr);
    ansi = static_cast<char*>(std::malloc(static_cast<size_t>(length) + 1));
    if (!ansi) return false;
    WideCharToMultiByte(CP_ACP, 0, wide, wideLength, ansi, length, nullptr, nullptr);
    ansi[length] = '\0';
    return true;
  }
  void Release() {
    std::free(wide);
    std::free(ansi);
  }
  // Where the first `utf8Offset` bytes of the UTF-8 form end, in the platform's units.
  int OffsetOf(const char* utf8, int utf8Offset) const {
    int wideOffset = MultiByteToWideChar(CP_UTF8, 0, utf8, utf8Offset, nullptr, 0);
    if (!win9x) return wideOffset;
    return WideCharToMultiByte(CP_ACP, 0, wide, wideOffset, nullptr, 0, nullptr, nullptr);
  }
  bool IsLineEnd(int at) const { return win9x ? ansi[at] == '\r' : wide[at] == L'\r'; }
};

void SetText(HWND control, const ControlText& text) {
  if (text.win9x) {
    SetWindowTextA(control, text.ansi);
  } else {
    SetWindowTextW(control, text.wide);
  }
}

void AddTopic(HWND list, const ControlText& title) {
  if (title.win9x) {
    SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(title.ansi));
  } else {
    SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(title.wide));
  }
}

// Shows one topic; with a mark, selects the marked paragraph and scrolls it to the top.
void ShowTopic(HWND window, const GuideView& view, size_t topic, const size_t* markOffset) {
  SendDlgItemMessageA(window, IDC_GUIDE_TOPICS, LB_SETCURSEL, topic, 0);
  // The shown body is never longer than the body with a line end per byte.
  size_t capacity = 2 * view.topics[topic].bodySize + 1;
  char* shown = static_cast<char*>(std::malloc(capacity));
  if (!shown) return;
  size_t shownSize = ShownGuideBody(view.topics[topic], shown, capacity);
  ControlText body = {view.win9x, nullptr, nullptr, 0};
  HWND text = GetDlgItem(window, IDC_GUIDE_TEXT);
  if (body.Take(shown, static_cast<int>(shownSize))) {
    SetText(text, body);
    int start = 0, end = 0;
    if (markOffset && *markOffset < shownSize) {
      start = end = body.OffsetOf(shown, static_cast<int>(*markOffset));
      while (end < body.length && !body.IsLineEnd(end)) ++end;
    }
    SendMessageA(text, EM_SETSEL, start, end);
    LRESULT line = SendMessageA(text, EM_LINEFROMCHAR, start, 0);
    LRESULT first = SendMessageA(text, EM_GETFIRSTVISIBLELINE, 0, 0);
    SendMessageA(text, EM_LINESCROLL, 0, line - first);
  }
  body.Release();
  std::free(shown);
}

struct GuideStart {
  GuideView* view;
  const char* token;
  bool selectParagraph;
};

void Open(HWND window, const GuideStart& start) {
  GuideView* view = start.view;
  SetWindowLongPtrA(window, DWLP_USER, reinterpret_cast<LONG_PTR>(view));
  for (size_t t = 0; t < view->count; ++t) {
    ControlText title = {view->win9x, nullptr, nullptr, 0};
    if (title.Take(view->topics[t].title, static_cast<int>(view->topics[t].titleSize)))
      AddTopic(GetDlgItem(window, IDC_GUIDE_TOPICS), title);
    title.Release();
  }
  size_t topic = 0, offset = 0;
  bool marked = FindGuideMark(view->topics, view->count, start.token, &topic, &offset);
  if (view->count > 0) ShowTopic(window, *view, topic, marked && start.selectParagraph ? &offset : nullptr);
  SetFocus(GetDlgItem(window, IDC_GUIDE_TEXT));
}

INT_PTR CALLBACK GuideProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG:
      Open(window, *reinterpret_cast<const GuideStart*>(lParam));
      return FALSE;  // the focus is set
    case WM_COMMAND:
      if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL) {
        EndDialog(window, 0);
        return TRUE;
      }
      if (LOWORD(wParam) == IDC_GUIDE_TOPICS && HIWORD(wParam) == LBN_SELCHANGE) {
        const GuideView* view = reinterpret_cast<const GuideView*>(GetWindowLongPtrA(window, DWLP_USER));
        LRESULT topic = SendDlgItemMessageA(window, IDC_GUIDE_TOPICS, LB_GETCURSEL, 0, 0);
        if (view && topic >= 0 && static_cast<size_t>(topic) < view->count) ShowTopic(window, *view, topic, nullptr);
        return TRUE;
      }
      return FALSE;
    case WM_CLOSE:
      EndDialog(window, 0);
      return TRUE;
  }
  return FALSE;
}

}  // namespace

void ShowUserGuide(HWND owner, const char* token, bool selectParagraph) {
  const SaverHost* host = DialogHost(owner);
  DWORD size = 0;
  const char* text = static_cast<const char*>(LockResourceIn(host, MAKEINTRESOURCEA(10), "GUIDE", &size));  // RT_RCDATA
  const DLGTEMPLATE* layout = static_cast<const DLGTEMPLATE*>(
      LockResourceIn(host, MAKEINTRESOURCEA(5), MAKEINTRESOURCEA(IDD_USER_GUIDE), nullptr));  // RT_DIALOG
  if (!text || !layout) return;
  GuideView view = {};
  view.count = ListGuideTopics(text, size, view.topics, kMaxTopics);
  if (view.count > kMaxTopics) view.count = kMaxTopics;
  view.win9x = host->win9x;
  GuideStart start = {&view, token, selectParagraph};
  LPARAM parameter = reinterpret_cast<LPARAM>(&start);
  if (host->win9x) {
    DialogBoxIndirectParamA(host->module, layout, owner, GuideProc, parameter);
  } else {
    DialogBoxIndirectParamW(host->module, layout, owner, GuideProc, parameter);
  }
}
