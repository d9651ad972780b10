#include "user_guide_window.h"

#include <cstdlib>

#include "designer_resources.h"
#include "saver_host.h"
#include "ui_language.h"
#include "user_guide.h"

namespace {

const size_t kMaxTopics = 16;

struct GuideView {
  const char* text;  // UTF-8, the resource's own bytes
  size_t size;
  GuideTopic topics[kMaxTopics];
  size_t count;
};

wchar_t* WideFromUtf8(const char* text, int size, int* length) {
  *length = MultiByteToWideChar(CP_UTF8, 0, text, size, nullptr, 0);
  wchar_t* wide = static_cast<wchar_t*>(std::malloc((static_cast<size_t>(*length) + 1) * sizeof(wchar_t)));
  if (!wide) return nullptr;
  MultiByteToWideChar(CP_UTF8, 0, text, size, wide, *length);
  wide[*length] = L'\0';
  return wide;
}

// Shows one topic; with a mark, selects the marked paragraph and scrolls it to the top.
void ShowTopic(HWND window, const GuideView& view, size_t topic, const size_t* markOffset) {
  SendDlgItemMessageW(window, IDC_GUIDE_TOPICS, LB_SETCURSEL, topic, 0);
  // The shown body is never longer than the body with a line end per byte.
  size_t capacity = 2 * view.topics[topic].bodySize + 1;
  char* shown = static_cast<char*>(std::malloc(capacity));
  if (!shown) return;
  size_t shownSize = ShownGuideBody(view.topics[topic], shown, capacity);
  int length = 0;
  wchar_t* wide = WideFromUtf8(shown, static_cast<int>(shownSize), &length);
  HWND text = GetDlgItem(window, IDC_GUIDE_TEXT);
  SetWindowTextW(text, wide ? wide : L"");
  if (wide && markOffset && *markOffset < shownSize) {
    int start = MultiByteToWideChar(CP_UTF8, 0, shown, static_cast<int>(*markOffset), nullptr, 0);
    int end = start;
    while (end < length && wide[end] != L'\r') ++end;
    SendMessageW(text, EM_SETSEL, start, end);
    LRESULT line = SendMessageW(text, EM_LINEFROMCHAR, start, 0);
    LRESULT first = SendMessageW(text, EM_GETFIRSTVISIBLELINE, 0, 0);
    SendMessageW(text, EM_LINESCROLL, 0, line - first);
  } else {
    SendMessageW(text, EM_SETSEL, 0, 0);
  }
  std::free(wide);
  std::free(shown);
}

struct GuideStart {
  GuideView* view;
  const char* token;
  bool selectParagraph;
};

void Open(HWND window, const GuideStart& start) {
  GuideView* view = start.view;
  SetWindowLongPtrW(window, DWLP_USER, reinterpret_cast<LONG_PTR>(view));
  for (size_t t = 0; t < view->count; ++t) {
    int length = 0;
    wchar_t* title = WideFromUtf8(view->topics[t].title, static_cast<int>(view->topics[t].titleSize), &length);
    SendDlgItemMessageW(window, IDC_GUIDE_TOPICS, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(title ? title : L""));
    std::free(title);
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
        const GuideView* view = reinterpret_cast<const GuideView*>(GetWindowLongPtrW(window, DWLP_USER));
        LRESULT topic = SendDlgItemMessageW(window, IDC_GUIDE_TOPICS, LB_GETCURSEL, 0, 0);
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
  DWORD size = 0;
  GuideView view = {};
  view.text = static_cast<const char*>(LockResourceIn(MAKEINTRESOURCEW(10), L"GUIDE", &size));  // RT_RCDATA
  const DLGTEMPLATE* layout = static_cast<const DLGTEMPLATE*>(
      LockResourceIn(MAKEINTRESOURCEW(5), MAKEINTRESOURCEW(IDD_USER_GUIDE), nullptr));  // RT_DIALOG
  if (!view.text || !layout) return;
  view.size = size;
  view.count = ListGuideTopics(view.text, view.size, view.topics, kMaxTopics);
  if (view.count > kMaxTopics) view.count = kMaxTopics;
  GuideStart start = {&view, token, selectParagraph};
  DialogBoxIndirectParamW(moduleInstance, layout, owner, GuideProc, reinterpret_cast<LPARAM>(&start));
}
