// Native controls through the desktop host on a real form: placed in the
// form's native layer at form coordinates, shown over the composed surface,
// and dialogs kept above their owner.
#include "desktop_fixture.h"
#include "platform/desktop/native_widgets.h"
#include "platform/gui/form.h"

namespace {

class NativeOnForm : public TDesktopTest {
protected:
    TForm* MakeForm() {
        TForm* form = App->CreateForm<TForm>();
        form->SetBounds(100, 120, 300, 200);
        form->SetColor(0x0000FF00);  // green
        return form;
    }
};

TEST_F(NativeOnForm, TextEditorShowsAtFormCoordinates) {
    TForm* form = MakeForm();
    form->Show();
    ASSERT_TRUE(WaitShown(*form));
    std::unique_ptr<TNativeTextEditor> editor = Host->CreateTextEditor(*form);
    ASSERT_TRUE(editor);
    editor->SetBounds(Bounds(20, 30, 100, 50));
    editor->SetColors(0, 0x00FF0000);  // black on blue
    editor->SetText("over the form");
    // Inside the editor: its background; beside it: the form's colour.
    EXPECT_TRUE(PumpUntil([] { return ScreenPixel(100 + 110, 120 + 70) == 0x0000FF; }))
        << std::hex << ScreenPixel(100 + 110, 120 + 70);
    EXPECT_EQ(ScreenPixel(100 + 10, 120 + 70), 0x00FF00u);
    EXPECT_EQ(ScreenPixel(100 + 130, 120 + 70), 0x00FF00u);
    EXPECT_EQ(editor->Text(), "over the form");
    editor.reset();
}

TEST_F(NativeOnForm, FileDialogStaysOverItsOwner) {
    TForm* form = MakeForm();
    form->Show();
    ASSERT_TRUE(WaitShown(*form));
    GtkWindow* parent = nullptr;
    SetFileDialogAutomation([&](TFileDialogKind, TFileDialogAutomation& dialog) {
        GList* windows = gtk_window_list_toplevels();
        for (GList* l = windows; l; l = l->next)
            if (GTK_IS_FILE_CHOOSER_DIALOG(l->data)) parent = gtk_window_get_transient_for(GTK_WINDOW(l->data));
        g_list_free(windows);
        dialog.Cancel();
    });
    TFileDialogOptions options;
    EXPECT_EQ(Host->RunFileDialog(TFileDialogKind::Open, options, form), TDialogResult::Cancel);
    SetFileDialogAutomation({});
    EXPECT_EQ(GTK_WIDGET(parent), Host->GtkWindowOf(form->Window()));
}

}  // namespace
