// Where the main window meets the tool window: docking it, showing it again, what it reads
// of the documents, and its colours kept in the settings store.
#include <windows.h>

#include "core/StoredValues.h"
#include "editor/frmTool.h"
#include "forms/Controls.h"
#include "forms/Shape.h"
#include "shell/frmMain.h"

namespace {
constexpr int kDockWidth = 190;
}

void TMainForm::DockToolWindow() {
    if (!ToolForm)
        return;
    DockPanelLeft->SetWidth(kDockWidth);
    DockPanelLeft->SetVisible(true);
    Realign();
    ToolForm->DockInto(DockPanelLeft->Handle());
    // A docked window is never activated by the system, so its stored colours come now;
    // otherwise the real exit would write its defaults over them.
    ToolForm->FormActivate(ToolForm);
}

void TMainForm::acToolShowToolExecute(TObject*) {
    if (!ToolForm)
        return;
    if (GetParent(ToolForm->Handle()) != DockPanelLeft->Handle())
        DockToolWindow();
    DockPanelLeft->SetVisible(true);
    Realign();
    ShowWindow(ToolForm->Handle(), SW_SHOW);
}

IToolDocument* TMainForm::ActiveToolDocument() { return dynamic_cast<IToolDocument*>(ActiveMDIChild()); }

void TMainForm::UpdateChildCursors() {
    // The documents choose their pointer from ToolForm->Tool when they are asked to paint
    // one; nothing is kept here.
    for (TForm* child : MDIChildren())
        InvalidateRect(child->Handle(), nullptr, FALSE);
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
