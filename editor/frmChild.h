#pragma once
// One open image of the editor: a document window of the main window's document area with
// its image view, its tab, its undo history and its floating selection (a picture lying over
// the image in a frame that moves and resizes it, until it is merged into the image).
#include <memory>
#include <string>

#include "core/Bitmap32.h"
#include "core/ImgViewGeometry.h"
#include "editor/DocumentHost.h"
#include "editor/ToolHost.h"
#include "editor/unitHistory.h"
#include "forms/Form.h"
#include "forms/ImgView32.h"

class TTabSheet;

class TChildForm : public TForm, public IToolDocument {
public:
    // The history keeps at most this many states: the first recorded one and the newest.
    static constexpr int kMaxHistory = 15;

    TChildForm(IDocumentHost& host, TForm& frame);
    ~TChildForm() override;

    TImgView32* ImgView32;

    // ---- State ----
    std::unique_ptr<TBitmap32> BackupBitmap;
    bool Modified = false;
    bool MouseInView = false;
    bool Dragging = false;
    TPoint LastMousePos{};
    TPoint StartPoint{};
    TPoint EndPoint{};
    TRubberbandLayer* SelectionBand = nullptr;
    TPoint LastPoint{};
    RECT ViewScreenRect{};
    std::unique_ptr<THistory> History;
    TTabSheet* TabSheet = nullptr;
    std::wstring FileName;
    // Closed, waiting for the posted release of its window.
    bool Released = false;

    // ---- Handlers ----
    void FormCreate(TObject* sender);
    void FormActivate(TObject* sender);
    void ImgView32PaintStage(TObject* sender, TBitmap32& buffer, unsigned stageNum);
    void ImgView32Change(TObject* sender);
    void ImgView32MouseEnter(TObject* sender);
    void ImgView32MouseLeave(TObject* sender);

    // ---- Modified mark and title ----
    // Sets the mark and shows it as a leading "*" on caption and tab.
    void SetModified(bool value);
    // The caption without the leading "*".
    std::wstring GetTitle() const;
    // Renames caption and tab, keeping the mark.
    void SetTitle(const std::wstring& title);

    // ---- Saving and closing ----
    // Saves to the name (asking before replacing a file) or, for an empty name, to
    // FileName; false when nothing was written. Write errors throw.
    bool SaveToFile(const std::wstring& fileName);
    void FormClose(TObject* sender, TCloseAction& action);

    // ---- Floating selection ----
    TBitmapLayer* GetFloatingLayer() const;
    // Puts the frame around a layer already in the view (null discards the selection).
    void SetFloatingLayer(TBitmapLayer* layer);
    // Merges the selection into the image and records the result.
    void CommitFloatingLayer() override;
    void SelectionResizing(TObject* sender, const TFloatRect& oldLocation, TFloatRect& newLocation,
                           TRBDragState dragState, TShiftState shift);

    // ---- History ----
    void PushHistory();
    void Undo();
    void Redo();

    // ---- Edit commands ----
    void CopySelection();
    void CutSelection();
    void DeleteSelection();
    void SelectAll();
    // Floats a picture from the clipboard (empty name) or from a file, centred in the view.
    void PasteImage(const std::wstring& fileName);

    // ---- Effects and transforms ----
    // Each works on the floating selection alone when one exists (recording nothing),
    // otherwise on the image with history: the unchanged image first when nothing is
    // recorded yet, the result afterwards.
    void AutoContrast();
    void InvertImage();
    void GrayscaleImage();
    // Runs the effect dialog for one effect ("Brightness", "Contrast", "Gamma", "Mosaic",
    // "Noise"); title is the dialog's caption, the text of the menu command.
    void ApplyEffect(const std::wstring& effectName, const std::wstring& title);
    void RotateImage();
    // Makes the floating selection's picture the whole image (nothing without one).
    void CropToSelection();
    void ResizeImage();
    void ResizeCanvas();

    // ---- What the tool window reads ----
    bool HasFloatingLayer() const override { return GetFloatingLayer() != nullptr; }
    void SetFloatingMasterAlpha(int alpha) override;
    void RenderHighlightLayer() override {}
    void RenderTextLayer(int, int) override {}
    double Scale() const override { return ImgView32->Scale(); }
    void SetScale(double scale) override { ImgView32->SetScale(scale); }
    void SetViewCursor(HCURSOR cursor) override { ImgView32->SetCursor(cursor); }

    // The status text of an image or selection size ("1,024" style numbers).
    static std::wstring ImageSizeText(int width, int height);
    static std::wstring SelectionSizeText(const TFloatRect& location);

private:
    // Records around a change of the whole image, as the effects and transforms do.
    template <class TChange> void ChangeImageWithHistory(TChange&& change);

    IDocumentHost& host_;
};
