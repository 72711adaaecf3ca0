// Where the main window meets the tool window: docking it, showing it again, what it reads
// of the documents, and its colours kept in the settings store.
#include <windows.h>

#include "core/StoredValues.h"
#include "editor/frmChild.h"
#include "editor/frmTool.h"
#include "forms/Controls.h"
#include "forms/DockPanel.h"
#include "forms/Shape.h"
#include "shell/frmMain.h"

namespace {
constexpr int kDockWidth = 190;

// The documents' pointer for a tool: its own cursor, or the cross for the shapes.
HCURSOR ToolCursor(TToolCode tool) {
    switch (tool) {
    case TToolCode::Move:
        return ScreenCursor(crMove);
    case TToolCode::Dropper:
        return ScreenCursor(crSpuit);
    case TToolCode::Zoom:
        return ScreenCursor(crZoom);
    case TToolCode::Select:
        return ScreenCursor(crSelect);
    case TToolCode::Highlight:
        return ScreenCursor(crHighlight);
    case TToolCode::Text:
        return ScreenCursor(crText);
    case TToolCode::Stemp:
        return ScreenCursor(crStemp);
    case TToolCode::Pen:
        return ScreenCursor(crWrite);
    case TToolCode::Erase:
        return ScreenCursor(crErase);
    case TToolCode::Fill:
        return ScreenCursor(crFill);
    default:
        return LoadCursorW(nullptr, IDC_CROSS);
    }
}
} // namespace

void TMainForm::DockToolWindow() {
    if (!ToolForm)
        return;
    DockPanelLeft->SetWidth(kDockWidth);
    DockPanelLeft->ManualDock(ToolForm);
    // A docked window is never activated by the system, so its stored colours come now;
    // otherwise the real exit would write its defaults over them.
    ToolForm->FormActivate(ToolForm);
}

TDockPanel* TMainForm::ToolDockPanel() const {
    return ToolForm ? DockPanelLeft->HolderOf(ToolForm) : nullptr;
}

void TMainForm::acToolShowToolExecute(TObject*) {
    if (!ToolForm)
        return;
    // A closed tool window comes back on the side where it docked last; a floating one
    // comes to the front.
    if (TDockPanel* panel = ToolDockPanel())
        panel->ShowDockForm();
    else
        DockToolWindow();
}

IToolDocument* TMainForm::ActiveToolDocument() {
    return ActiveDocument();
}

void TMainForm::UpdateChildCursors() {
    if (!ToolForm)
        return;
    const HCURSOR cursor = ToolCursor(ToolForm->Tool);
    for (TForm* child : MDIChildren())
        if (auto* document = dynamic_cast<IToolDocument*>(child))
            document->SetViewCursor(cursor);
}

void TMainForm::StoreToolColors() {
    if (!ToolForm)
        return;
    StoreInteger(SettingName::kForgColor, ToolForm->PenColor);
    StoreInteger(SettingName::kBackColor, ToolForm->FillColor);
    StoreInteger(SettingName::kDefForgColor, ToolForm->shDefaultPen->BrushColor());
    StoreInteger(SettingName::kDefBackColor, ToolForm->shDefaultFill->BrushColor());
    const std::wstring_view names[] = {SettingName::kHistoryColor1, SettingName::kHistoryColor2,
                                       SettingName::kHistoryColor3, SettingName::kHistoryColor4,
                                       SettingName::kHistoryColor5};
    for (std::size_t i = 0; i < ToolForm->HistoryColors.size(); ++i)
        StoreInteger(names[i], ToolForm->HistoryColors[i]);
}
