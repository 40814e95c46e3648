// TOrbPanel, the skinned container: a colour (over what lies beneath it at
// opacity Alpha) or a background picture, stretched whole or in three
// parts whose ends keep their size.
#pragma once

#include <optional>

#include "skin/orb_control.h"
#include "skin/orb_image_ops.h"

class TOrbPanel : public TOrbUIParentControl {
public:
    explicit TOrbPanel(TComponent* owner);

    const TPngImage& ImgBack() const { return FImgBack; }
    void SetImgBack(const TPngImage& value);
    // Left < Right: three columns cut at Left and Right; else Top < Bottom:
    // three rows cut at Top and Bottom; else the picture is stretched whole.
    const TOrbUIPadding& ImgSplit() const { return FImgSplit; }
    void SetImgSplit(const TOrbUIPadding& value);

    void Loaded() override;
    void ApplyStyle() override;
    void DrawControl(TBitmap32& buffer) override;

protected:
    void PaintBackground(TBitmap32& canvas) override;

private:
    void PrepareImages();
    void DrawColumns(TBitmap32& buffer, const TPiece3& pieces) const;
    void DrawRows(TBitmap32& buffer, const TPiece3& pieces) const;

    TPngImage FImgBack;
    TOrbUIPadding FImgSplit;
    std::optional<TPiece3> FColumns, FRows;
};
