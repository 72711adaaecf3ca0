// The documents of the main window: creating them (blank, opened, dropped, captured),
// naming them, keeping tab strip and active document in step, saving, closing, and the
// routing of the Edit commands to the active document.
#include <windows.h>

#include <memory>
#include <utility>

#include "core/CaptureNaming.h"
#include "core/DocumentNames.h"
#include "core/ImageFileType.h"
#include "core/StoredValues.h"
#include "editor/dlgNewCapture.h"
#include "editor/frmChild.h"
#include "editor/frmTool.h"
#include "editor/unitClipboard.h"
#include "forms/Actions.h"
#include "forms/ColorComboBox.h"
#include "forms/ComCtrls.h"
#include "forms/DropFileTarget.h"
#include "forms/Exceptions.h"
#include "forms/FileDialogs.h"
#include "forms/Graphics.h"
#include "forms/ImageCodecs.h"
#include "forms/Slider.h"
#include "forms/StdCtrls.h"
#include "shell/frmMain.h"

namespace {
constexpr wchar_t kSavePictureFilter[] =
    L"Bitmaps (*.bmp)|*.bmp|CompuServe GIF Image (*.gif)|*.gif|JPEG Image File (*.jpg,*.jpeg)|*.jpg;*.jpeg|"
    L"Portable Network Graphics (*.png)|*.png";

// The tool window is optional (tests run without it): every use goes through here.
void SetZoomSliderTo100() {
    if (ToolForm)
        ToolForm->JvxSlider1->SetValue(100);
}

// The open documents in child order; a closed one waiting for its release counts no more.
std::vector<TChildForm*> OpenDocuments(const TForm& frame) {
    std::vector<TChildForm*> docs;
    for (TForm* child : frame.MDIChildren())
        if (auto* doc = dynamic_cast<TChildForm*>(child); doc && !doc->Released)
            docs.push_back(doc);
    return docs;
}

std::vector<std::wstring> Captions(const TForm& frame) {
    std::vector<std::wstring> captions;
    for (const TChildForm* doc : OpenDocuments(frame))
        captions.push_back(doc->Caption());
    return captions;
}

void SetEnabledOf(TObject* sender, bool enabled) {
    if (auto* action = dynamic_cast<TAction*>(sender))
        action->SetEnabled(enabled);
}
} // namespace

void TMainForm::BindDocumentActions() {
    OpenPictureDialog1 = new TFileDialog(TFileDialog::TKind::Open);
    OpenPictureDialog1->Filter = kOpenPictureFilter;
    SavePictureDialog1 = new TFileDialog(TFileDialog::TKind::Save);
    SavePictureDialog1->Filter = kSavePictureFilter;
    DropFileTarget1 = new TDropFileTarget();
    DropFileTarget1->OnDrop = [this](const std::vector<std::wstring>& files) { DropFileTarget1Drop(files); };
    TNewCaptureDialog::Translate = [this](TForm& form) { ApplyLanguage(&form); };

    acFileNew->OnExecute = [this](TObject* s) { acFileNewExecute(s); };
    acFileOpen->OnExecute = [this](TObject* s) { acFileOpenExecute(s); };
    acFileAddImage->OnExecute = [this](TObject* s) { acFileAddImageExecute(s); };
    acFileSave->OnExecute = [this](TObject* s) { acFileSaveExecute(s); };
    acFileSave->OnUpdate = [this](TObject* s) { acFileSaveUpdate(s); };
    acFileSaveAs->OnExecute = [this](TObject* s) { acFileSaveAsExecute(s); };
    acFileClose->OnExecute = [this](TObject* s) { acFileCloseExecute(s); };
    acFileCloseAll->OnExecute = [this](TObject* s) { acFileCloseAllExecute(s); };
    for (TAction* a : {acFileAddImage, acFileSaveAs, acFileClose, acFileCloseAll, acEditSelectAll})
        a->OnUpdate = [this](TObject* s) { ExistMDIChild(s); };

    const auto onDocument = [this](void (TChildForm::*operation)()) {
        return [this, operation](TObject*) {
            if (TChildForm* doc = ActiveDocument())
                (doc->*operation)();
        };
    };
    acEditUndo->OnExecute = onDocument(&TChildForm::Undo);
    acEditRedo->OnExecute = onDocument(&TChildForm::Redo);
    acEditCut->OnExecute = onDocument(&TChildForm::CutSelection);
    acEditCopy->OnExecute = onDocument(&TChildForm::CopySelection);
    acEditDelete->OnExecute = onDocument(&TChildForm::DeleteSelection);
    acEditSelectAll->OnExecute = onDocument(&TChildForm::SelectAll);
    acEditPaste->OnExecute = [this](TObject*) {
        if (TChildForm* doc = ActiveDocument())
            doc->PasteImage(L"");
    };
    acEditUndo->OnUpdate = [this](TObject* s) { acEditUndoUpdate(s); };
    acEditRedo->OnUpdate = [this](TObject* s) { acEditRedoUpdate(s); };
    for (TAction* a : {acEditCut, acEditCopy, acEditDelete})
        a->OnUpdate = [this](TObject* s) { acEditSelectionUpdate(s); };
    acEditPaste->OnUpdate = [this](TObject* s) { acEditPasteUpdate(s); };

    // The Effect commands: the direct ones, then the effect dialog, whose caption is the
    // command's own text (the Mosic command runs the Mosaic effect).
    acEffectAutoContrast->OnExecute = onDocument(&TChildForm::AutoContrast);
    acEffectInvert->OnExecute = onDocument(&TChildForm::InvertImage);
    acEffectGray->OnExecute = onDocument(&TChildForm::GrayscaleImage);
    acEffectRotate->OnExecute = onDocument(&TChildForm::RotateImage);
    acEffectCrop->OnExecute = onDocument(&TChildForm::CropToSelection);
    acEffectResize->OnExecute = onDocument(&TChildForm::ResizeImage);
    acEffectResizeCanvas->OnExecute = onDocument(&TChildForm::ResizeCanvas);
    const std::pair<TAction*, const wchar_t*> dialogEffects[] = {{acEffectBrightness, L"Brightness"},
                                                                 {acEffectContrast, L"Contrast"},
                                                                 {acEffectGamma, L"Gamma"},
                                                                 {acEffectMosic, L"Mosaic"},
                                                                 {acEffectNoise, L"Noise"}};
    for (const auto& [action, effectName] : dialogEffects)
        action->OnExecute = [this, action, effectName](TObject*) {
            if (TChildForm* doc = ActiveDocument())
                doc->ApplyEffect(effectName, action->Caption());
        };
    for (TAction* a :
         {acEffectAutoContrast, acEffectBrightness, acEffectContrast, acEffectGamma, acEffectInvert,
          acEffectGray, acEffectMosic, acEffectNoise, acEffectRotate, acEffectResize, acEffectResizeCanvas})
        a->OnUpdate = [this](TObject* s) { ExistMDIChild(s); };
    acEffectCrop->OnUpdate = [this](TObject* s) { acEditSelectionUpdate(s); };

    PageControl1->OnChange = [this](TObject* s) { PageControl1Change(s); };
    acPageLeft->OnExecute = [this](TObject* s) { acPageLeftExecute(s); };
    acPageRight->OnExecute = [this](TObject* s) { acPageRightExecute(s); };
    acPageLeft->OnUpdate = [this](TObject* s) { acPageLeftUpdate(s); };
    acPageRight->OnUpdate = [this](TObject* s) { acPageRightUpdate(s); };
    // A double click on the empty document area opens a picture.
    OnDblClick = [this](TObject* s) { acFileOpenExecute(s); };
}

void TMainForm::FreeDocumentParts() {
    // Documents still open when the program ends go before the main window's controls.
    for (TChildForm* doc : OpenDocuments(*this))
        TFormDeleter{}(doc);
    RevokeDropTarget();
    delete DropFileTarget1;
    DropFileTarget1 = nullptr;
    delete OpenPictureDialog1;
    OpenPictureDialog1 = nullptr;
    delete SavePictureDialog1;
    SavePictureDialog1 = nullptr;
    TNewCaptureDialog::Translate = nullptr;
}

TChildForm* TMainForm::ActiveDocument() const {
    // The last document closed stays the document area's active child until its posted
    // release; its history is gone by then, so no command may reach it.
    auto* doc = dynamic_cast<TChildForm*>(ActiveMDIChild());
    return doc && !doc->Released ? doc : nullptr;
}

void TMainForm::acWinMinExecute(TObject*) {
    // A closed document waiting for its release is hidden; minimising would show it again.
    const auto docs = OpenDocuments(*this);
    for (auto it = docs.rbegin(); it != docs.rend(); ++it)
        ShowWindow((*it)->Handle(), SW_MINIMIZE);
}

int TMainForm::DocumentCount() const {
    return static_cast<int>(OpenDocuments(*this).size());
}

void TMainForm::SelectDocumentTab(TTabSheet* sheet) {
    if (sheet && sheet->PageControl == PageControl1)
        PageControl1->SetActivePage(sheet);
}

TChildForm* TMainForm::CreateDocument(const std::wstring& name) {
    auto tab = std::make_unique<TTabSheet>(this, L"", name);
    PageControl1->AddPage(tab.get());
    PageControl1->SetActivePage(tab.get());
    TChildForm* doc = nullptr;
    try {
        doc = new TChildForm(*this, *this);
        doc->DoCreate();
    } catch (...) {
        PageControl1->RemovePage(tab.get());
        if (doc)
            TFormDeleter{}(doc);
        throw;
    }
    doc->SetCaption(name);
    doc->TabSheet = tab.release();
    doc->TabSheet->Data = doc;
    doc->OnActivate = [doc](TObject* s) { doc->FormActivate(s); };
    doc->Show();
    SetZoomSliderTo100();
    return doc;
}

void TMainForm::NewCaptureDocument(const TBitmap& bitmap) {
    TBitmap32 image;
    AssignToBitmap32(bitmap, image);
    // A capture's name is compared without extensions: with New.png open it is New 2.
    TChildForm* doc = CreateDocument(NewDocumentName(msgNewCapture, Captions(*this)));
    doc->ImgView32->SetBitmap(image);
    UpdateChildCursors();
    // A capture is new work: it is marked until it is saved.
    doc->SetModified(true);
}

void TMainForm::acFileNewExecute(TObject*) {
    const std::wstring name = NextDocumentName(msgNewCapture, Captions(*this));
    auto dialog = CreateForm<TNewCaptureDialog>(this);
    NewCaptureDialog = dialog.get();
    struct TClear {
        ~TClear() { NewCaptureDialog = nullptr; }
    } clear;
    dialog->SpinEdit1->SetValue(ReadInteger(SettingName::kNewCaptureWidth));
    dialog->SpinEdit2->SetValue(ReadInteger(SettingName::kNewCaptureHeight));
    dialog->JvColorComboBox1->SetColorValue(ReadInteger(SettingName::kNewCaptureColor));
    if (dialog->ShowModal() != mrOk)
        return;
    const int width = dialog->SpinEdit1->Value();
    const int height = dialog->SpinEdit2->Value();
    const TColor color = dialog->JvColorComboBox1->ColorValue();
    TChildForm* doc = CreateDocument(name);
    UpdateChildCursors();
    doc->ImgView32->SetBitmap(TBitmap32(width, height, Color32(color)));
    if (ToolForm)
        ToolForm->SetFillColor(color);
    StoreInteger(SettingName::kNewCaptureWidth, width);
    StoreInteger(SettingName::kNewCaptureHeight, height);
    StoreInteger(SettingName::kNewCaptureColor, color);
}

void TMainForm::acFileOpenExecute(TObject*) {
    if (!OpenPictureDialog1->Execute(Handle()))
        return;
    OpenImageFile(OpenPictureDialog1->FileName);
}

void TMainForm::OpenImageFile(const std::wstring& fileName) {
    const DWORD attributes = GetFileAttributesW(fileName.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY))
        return;
    // The picture is read before the document exists, so a file that cannot be read
    // leaves no empty document behind.
    TBitmap32 image;
    std::wstring error;
    if (!LoadImageFile(fileName, image, error))
        throw Exception(error);
    TChildForm* doc = CreateDocument(FileNamePart(fileName));
    doc->ImgView32->SetBitmap(image);
    doc->FileName = fileName;
    UpdateChildCursors();
}

void TMainForm::DropFileTarget1Drop(const std::vector<std::wstring>& files) {
    // One unreadable file does not keep the others of the drop from opening; the error box
    // names every file that could not be read, once they all were tried.
    std::wstring errors;
    for (const std::wstring& file : files) {
        try {
            OpenImageFile(file);
        } catch (const EAbort&) {
            throw;
        } catch (const Exception& e) {
            errors += (errors.empty() ? L"" : L"\r\n") + e.Message();
        }
    }
    if (!errors.empty())
        throw Exception(errors);
}

void TMainForm::RegisterDropTarget() {
    if (DropFileTarget1 && !DropFileTarget1->Registered())
        DropFileTarget1->Register(Handle());
}

void TMainForm::RevokeDropTarget() {
    if (DropFileTarget1)
        DropFileTarget1->Unregister();
}

void TMainForm::PageControl1Change(TObject*) {
    TTabSheet* active = PageControl1->ActivePage();
    for (TForm* child : MDIChildren()) {
        auto* doc = dynamic_cast<TChildForm*>(child);
        if (doc && doc->TabSheet == active && active) {
            SendMessageW(GetParent(doc->Handle()), WM_MDIACTIVATE, reinterpret_cast<WPARAM>(doc->Handle()),
                         0);
            return;
        }
    }
}

void TMainForm::acPageLeftUpdate(TObject* sender) {
    // Without any tab there is no neighbour to go to.
    SetEnabledOf(sender, PageControl1->ActivePageIndex() > 0);
}

void TMainForm::acPageRightUpdate(TObject* sender) {
    const int index = PageControl1->ActivePageIndex();
    SetEnabledOf(sender, index >= 0 && index < PageControl1->PageCount() - 1);
}

void TMainForm::acPageLeftExecute(TObject*) {
    acPageLeft->Update();
    if (!acPageLeft->Enabled())
        return;
    PageControl1->SetActivePageIndex(PageControl1->ActivePageIndex() - 1);
    PageControl1Change(PageControl1);
}

void TMainForm::acPageRightExecute(TObject*) {
    acPageRight->Update();
    if (!acPageRight->Enabled())
        return;
    PageControl1->SetActivePageIndex(PageControl1->ActivePageIndex() + 1);
    PageControl1Change(PageControl1);
}

void TMainForm::ExistMDIChild(TObject* sender) {
    SetEnabledOf(sender, ActiveDocument() != nullptr);
}

void TMainForm::acEditUndoUpdate(TObject* sender) {
    const TChildForm* doc = ActiveDocument();
    SetEnabledOf(sender, doc && doc->History && doc->History->CanUndo());
}

void TMainForm::acEditRedoUpdate(TObject* sender) {
    const TChildForm* doc = ActiveDocument();
    SetEnabledOf(sender, doc && doc->History && doc->History->CanRedo());
}

void TMainForm::acEditSelectionUpdate(TObject* sender) {
    const TChildForm* doc = ActiveDocument();
    SetEnabledOf(sender, doc && doc->GetFloatingLayer());
}

void TMainForm::acEditPasteUpdate(TObject* sender) {
    SetEnabledOf(sender, ActiveDocument() && ClipboardHasBitmap());
}

// ---- Saving ----

int TMainForm::JpegQuality() const {
    return JpegQualityFromLevel(ReadInteger(SettingName::kJPEGQulity));
}

void TMainForm::ShowForQuestion() {
    acShow->Execute();
}

std::wstring TMainForm::GetSaveFileNameWithExt() const {
    return SaveFileNameWithExt(SavePictureDialog1->FileName, SavePictureDialog1->FilterIndex);
}

bool TMainForm::AskSaveFileName(const std::wstring& proposal, std::wstring& fileName) {
    SavePictureDialog1->FilterIndex = SaveImageTypeOrDefault(ReadInteger(SettingName::kSaveImageType)) + 1;
    if (!proposal.empty())
        SavePictureDialog1->FileName = proposal;
    if (!SavePictureDialog1->Execute(Handle()))
        return false;
    fileName = GetSaveFileNameWithExt();
    return true;
}

void TMainForm::acFileSaveUpdate(TObject* sender) {
    const TChildForm* doc = ActiveDocument();
    SetEnabledOf(sender, doc && doc->Modified);
}

void TMainForm::acFileSaveExecute(TObject* sender) {
    TChildForm* doc = ActiveDocument();
    if (!doc)
        return;
    if (doc->FileName.empty())
        acFileSaveAsExecute(sender);
    else
        doc->SaveToFile(L"");
}

void TMainForm::acFileSaveAsExecute(TObject*) {
    TChildForm* doc = ActiveDocument();
    if (!doc)
        return;
    std::wstring name;
    if (AskSaveFileName(doc->GetTitle(), name))
        doc->SaveToFile(name);
}

// ---- Closing ----

void TMainForm::acFileCloseExecute(TObject*) {
    CloseResult = 1;
    if (TChildForm* doc = ActiveDocument())
        doc->Close();
    SetStatusText(0, L"");
    SetStatusText(2, L"");
    SetStatusText(3, L"");
}

void TMainForm::acFileCloseAllExecute(TObject*) {
    CloseResult = 1;
    // From the least recently active to the active one; a Cancel stops the walk.
    const auto docs = OpenDocuments(*this);
    for (auto it = docs.rbegin(); it != docs.rend(); ++it) {
        (*it)->Close();
        if (CloseResult == 2)
            break;
    }
}

void TMainForm::acFileAddImageExecute(TObject*) {
    TChildForm* doc = ActiveDocument();
    if (!doc)
        return;
    if (OpenPictureDialog1->Execute(Handle()))
        doc->PasteImage(OpenPictureDialog1->FileName);
}
