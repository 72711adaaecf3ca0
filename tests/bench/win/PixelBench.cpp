// The pixel table in the Windows build (32-bit, SSE2, as shipped) under Wine, and the
// whole repaint of a document's image view for the composition case: a 1600 x 1000 view
// over a 7680 x 4320 picture with a floating selection, through the window's own paint.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "../PixelBenchTable.h"
#include "forms/Application.h"
#include "forms/Form.h"
#include "forms/ImgView32.h"

namespace {

TFormDesign ViewDesign() {
    TFormDesign d;
    d.Caption = L"Repaint";
    d.Width = 1700;
    d.Height = 1100;
    return d;
}

// A document-like window: the view fills it, the checkerboard under the picture, a
// blended selection in a frame over the middle.
class TViewForm : public TForm {
public:
    TViewForm() : TForm(nullptr, L"ViewForm", ViewDesign()) {
        View = Make<TImgView32>(L"ImgView32", this);
        View->SetBounds(0, 0, 1600 + GetSystemMetrics(SM_CXVSCROLL), 1000 + GetSystemMetrics(SM_CYHSCROLL));
        View->PaintStages()[0].Stage = PST_CUSTOM;
        View->OnPaintStage = [this](TObject*, TBitmap32&, unsigned) {
            PaintCheckerboard(View->Buffer(), View->OpaqueBitmapRect());
        };
        TBitmap32 picture = pixel_bench::TestPicture(7680, 4320);
        picture.ResetAlpha();
        View->SetBitmap(picture);
        auto* layer = View->AddLayer<TBitmapLayer>();
        layer->Bitmap() = pixel_bench::TestPicture(1024, 768);
        layer->SetDrawMode(TDrawMode::dmBlend);
        layer->SetMasterAlpha(160);
        layer->SetScaled(true);
        layer->SetLocation({3800, 2130, 3800 + 1024, 2130 + 768});
        auto* band = View->AddLayer<TRubberbandLayer>();
        band->SetChildLayer(layer);
    }
    TImgView32* View = nullptr;
};

void MeasureRepaint(int runs) {
    TViewForm form;
    form.Show();
    std::printf("\n== whole repaint of the document view (%d x %d client), no goal\n",
                form.View->GetViewportRect().Width(), form.View->GetViewportRect().Height());
    for (const int percent : {25, 100, 1000}) {
        form.View->SetScale(percent / 100.0);
        // Scrolled so that the picture's middle is in the middle of the view.
        const TPoint middle = form.View->BitmapToControl({3840, 2160});
        const TRect vp = form.View->GetViewportRect();
        form.View->Scroll(middle.X - vp.Width() / 2, middle.Y - vp.Height() / 2);
        std::vector<double> times;
        for (int i = 0; i <= runs; ++i)
            times.push_back(pixel_bench::Milliseconds([&] {
                RedrawWindow(form.View->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
                GdiFlush();
            }));
        times.erase(times.begin());
        std::printf("%-34s %10.3f ms median\n", ("repaint at " + std::to_string(percent) + " %").c_str(),
                    pixel_bench::Median(times));
    }
}

} // namespace

int main(int argc, char** argv) {
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 15;
    pixel_bench::PrintTable("== Windows build (32-bit, SSE2, as shipped) under Wine", runs,
                            argc > 2 ? argv[2] : "");
    TApplication app(GetModuleHandleW(nullptr));
    MeasureRepaint(runs);
    return 0;
}
