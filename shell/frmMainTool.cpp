// Where the main window meets the tool window: docking it, showing it again, what it reads
// of the documents, and its colours kept in the settings store.
#include <windows.h>

#include "core/StoredValues.h"
#include "editor/frmChild.h"
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

IToolDocument* TMainForm::ActiveToolDocument() {
    return dynamic_cast<IToolDocument*>(ActiveMDIChild());
}

void TMainForm::UpdateChildCursors() {
    const TToolCode tool = ToolForm ? ToolForm->Tool : TToolCode::Move;
    int id = 0;
    switch (tool) {
    case TToolCode::Move:
        id = crMove;
        break;
    case TToolCode::Dropper:
        id = crSpuit;
        break;
    case TToolCode::Zoom:
        id = crZoom;
        break;
    case TToolCode::Select:
        id = crSelect;
        break;
    case TToolCode::Highlight:
        id = crHighlight;
        break;
    case TToolCode::Text:
        id = crText;
        break;
    case TToolCode::Stemp:
        id = crStemp;
        break;
    case TToolCode::Pen:
        id = crWrite;
        break;
    case TToolCode::Erase:
        id = crErase;
        break;
    case TToolCode::Fill:
        id = crFill;
        break;
    default:
        break; // the shapes, lines and arrows draw with the cross
    }
    HCURSOR cursor = id ? ScreenCursor(id) : nullptr;
    if (!cursor)
        cursor = LoadCursorW(nullptr, IDC_CROSS);
    for (TForm* child : MDIChildren())
        if (auto* doc = dynamic_cast<TChildForm*>(child))
            doc->ImgView32->SetCursor(cursor);
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
