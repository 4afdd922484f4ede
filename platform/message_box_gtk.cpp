// The modal message box on Linux: a GTK message dialog with one OK button and no icon, whatever its
// kind, and no owner window.
#include "platform/message_box_system.h"

#include <gtk/gtk.h>

namespace {

// GTK opens its own display connection the first time a box is needed, not at start-up.
bool gtkReady() {
    static const bool ready = gtk_init_check(nullptr, nullptr);
    return ready;
}

void finishPendingGtkWork() {
    while (gtk_events_pending())
        gtk_main_iteration_do(FALSE);
}

} // namespace

void showSystemMessageBox(MessageBoxKind, const char* caption, const char* text) {
    if (!gtkReady()) return; // no display for dialogs: carry on without the box
    GtkWidget* dialog =
        gtk_message_dialog_new(nullptr, GTK_DIALOG_MODAL, GTK_MESSAGE_OTHER, GTK_BUTTONS_OK, "%s", text);
    gtk_window_set_title(GTK_WINDOW(dialog), caption);
    gtk_window_set_position(GTK_WINDOW(dialog), GTK_WIN_POS_CENTER);
    gtk_window_set_keep_above(GTK_WINDOW(dialog), TRUE);
    gtk_dialog_run(GTK_DIALOG(dialog)); // blocks until OK, Return, Escape or the close button
    gtk_widget_destroy(dialog);
    finishPendingGtkWork(); // let the box disappear before the GLUT window repaints
}
