// The edit box artwork: the frame strip and the extra button at the sizes
// the edit cuts them by, their frames distinct, the middle columns that a
// wide edit repeats uniform, and the extra button fitting inside the frame.
#include <gtest/gtest.h>

#include "skin/orb_edit_skin.h"
#include "artwork_checks.h"

namespace {

TEST(EditArtwork, StripsHaveTheirSizesAndDistinctFrames) {
    ExpectStripsWithDistinctFrames({{"edit_box", 48, 25, 4}, {"edit_extra_btn", 88, 23, 4}});
}

TEST(EditArtwork, MiddleColumnsAreUniformAndTheFrameIsOpaqueInside) {
    const TBitmap32 box = SkinArtwork("edit_box");
    for (int frame = 0; frame < 4; ++frame) {
        const int left = frame * 12;
        // Columns 4..7 are the stretched band: all alike.
        for (int x = 5; x < 8; ++x) EXPECT_TRUE(SameColumns(box, left + x, left + 4, 1)) << frame << ":" << x;
        // Crisp lines: the band's top and bottom rows are fully opaque lines,
        // the inside opaque fill (the text never sits on the parent).
        for (int y : {0, 12, 24}) EXPECT_EQ(AlphaOf(box.Pixel(left + 6, y)), 255) << frame << ":" << y;
        EXPECT_NE(box.Pixel(left + 6, 0), box.Pixel(left + 6, 12)) << frame;
    }
}

TEST(EditArtwork, TheProgramSkinGivesAFullHeightBoxAndAnInsetButton) {
    TOrbEdit edit(nullptr);
    LoadProgramEditSkin(edit, TEditExtraButton::Yes);
    edit.SetWidth(160);
    EXPECT_EQ(edit.Height(), 25);
    const TRect extra = edit.ExtraRect();
    EXPECT_EQ(extra, Bounds(160 - 1 - 22, 1, 22, 23));
    EXPECT_LE(edit.TextRect().Right, extra.Left);
}

}  // namespace
