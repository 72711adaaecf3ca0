#pragma once
// The scrolling web-page capture: the browser object behind a page view of the browser
// control, and the capture that scrolls the page and joins its rows into one picture.
#include <windows.h>

#include <exdisp.h>

#include "forms/Graphics.h"
#include "forms/Handles.h"

// The registered message that a page view answers with its document object.
extern const wchar_t* const kHtmlGetObjectMessage;
// How long a page view may take to answer it, in milliseconds.
constexpr UINT kHtmlGetObjectTimeout = 1000;

// The browser object behind the page view wnd, put into browser (left empty when the
// document has no browser service). 0 when the document object was obtained; 1 when the
// accessibility library or its ObjectFromLresult entry is missing; otherwise the failure
// code of the view's answer (a send that failed or timed out is never unpacked) or of
// ObjectFromLresult. The calling thread must have initialised COM.
int GetWebBrowserFromWindow(HWND wnd, TComPtr<IWebBrowser2>& browser);

// Captures the page of the page view wnd, from its current scroll position to its end (or
// its most scrollable frame under the view's top strip), into bitmap as 24 bits per pixel;
// delayMs is the pause after every scroll step, brought into 0..65535. 0 when bitmap holds
// the capture; 1 when nothing was captured, and bitmap is then untouched. Every failure of
// the browser's objects, the view window or memory gives 1; nothing is thrown.
int CaptureWebPage(TBitmap& bitmap, HWND wnd, int delayMs);
