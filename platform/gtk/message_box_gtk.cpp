// The modal message box on Linux: a GTK message dialog with one OK button and no icon, whatever its
// kind, and no owner window. GTK is loaded when the first box is needed, not linked: start-up then
// never maps and relocates GTK's sixty-odd libraries, and a system without GTK still runs the
// program: where no box can be shown, what it would have said goes to stderr instead.
#include "platform/message_box_system.h"

#include <cstdio>
#include <dlfcn.h>
#include <gtk/gtk.h> // types and constants only: every function is looked up in the loaded library
#include <string>

namespace {

// The functions a box uses, with their declared types.
struct GtkFunctions {
    decltype(&gtk_init_check) initCheck;
    decltype(&gtk_events_pending) eventsPending;
    decltype(&gtk_main_iteration_do) mainIterationDo;
    decltype(&gtk_message_dialog_new) messageDialogNew;
    decltype(&gtk_window_set_title) windowSetTitle;
    decltype(&gtk_window_set_position) windowSetPosition;
    decltype(&gtk_window_set_keep_above) windowSetKeepAbove;
    decltype(&gtk_dialog_run) dialogRun;
    decltype(&gtk_widget_destroy) widgetDestroy;
};

template <typename Function> bool lookUp(void* library, const char* name, Function* function) {
    *function = reinterpret_cast<Function>(dlsym(library, name));
    return *function != nullptr;
}

bool lookUpAll(void* library, GtkFunctions* gtk) {
    return lookUp(library, "gtk_init_check", &gtk->initCheck) &&
           lookUp(library, "gtk_events_pending", &gtk->eventsPending) &&
           lookUp(library, "gtk_main_iteration_do", &gtk->mainIterationDo) &&
           lookUp(library, "gtk_message_dialog_new", &gtk->messageDialogNew) &&
           lookUp(library, "gtk_window_set_title", &gtk->windowSetTitle) &&
           lookUp(library, "gtk_window_set_position", &gtk->windowSetPosition) &&
           lookUp(library, "gtk_window_set_keep_above", &gtk->windowSetKeepAbove) &&
           lookUp(library, "gtk_dialog_run", &gtk->dialogRun) &&
           lookUp(library, "gtk_widget_destroy", &gtk->widgetDestroy);
}

// Loads GTK and opens its own display connection. Null when either fails; a GTK that cannot be
// loaded is worth a line on stderr, since no box can say so.
const GtkFunctions* loadGtk() {
    static GtkFunctions gtk;
    // Never closed: GTK cannot be unloaded.
    void* library = dlopen("libgtk-3.so.0", RTLD_NOW | RTLD_LOCAL);
    if (!library || !lookUpAll(library, &gtk)) {
        // NOLINTNEXTLINE(cert-err33-c): a report stderr cannot take has nowhere else to go
        std::fprintf(stderr, "Astrolume: cannot load GTK 3, so no message box will be shown: %s\n",
                     dlerror());
        return nullptr;
    }
    if (!gtk.initCheck(nullptr, nullptr)) {
        // NOLINTNEXTLINE(cert-err33-c): as above
        std::fprintf(stderr, "Astrolume: GTK 3 cannot start, so no message box will be shown\n");
        return nullptr;
    }
    return &gtk;
}

// Tried once, when the first box is shown.
const GtkFunctions* gtkFunctions() {
    static const GtkFunctions* const gtk = loadGtk();
    return gtk;
}

// A box that cannot be shown is written instead, so no message is lost: its title, then its text,
// line by line, in the UTF-8 they come in. A text's last line feed ends its last line.
void writeToStderr(const char* caption, const char* text) {
    std::string lines = std::string(caption) + "\n" + text;
    if (lines.back() != '\n') lines += '\n';
    // NOLINTNEXTLINE(cert-err33-c): stderr is the last place left to say it
    std::fwrite(lines.data(), 1, lines.size(), stderr);
    std::fflush(stderr); // NOLINT(cert-err33-c)
}

} // namespace

void showSystemMessageBox(MessageBoxKind, const char* caption, const char* text) {
    const GtkFunctions* gtk = gtkFunctions();
    if (!gtk) {
        writeToStderr(caption, text);
        return;
    }
    GtkWidget* dialog =
        gtk->messageDialogNew(nullptr, GTK_DIALOG_MODAL, GTK_MESSAGE_OTHER, GTK_BUTTONS_OK, "%s", text);
    // Plain casts: GTK_WINDOW() and GTK_DIALOG() would call into GLib, which is not linked.
    GtkWindow* window = reinterpret_cast<GtkWindow*>(dialog);
    gtk->windowSetTitle(window, caption);
    gtk->windowSetPosition(window, GTK_WIN_POS_CENTER);
    gtk->windowSetKeepAbove(window, TRUE);
    // Blocks until OK, Return, Escape or the close button.
    gtk->dialogRun(reinterpret_cast<GtkDialog*>(dialog));
    gtk->widgetDestroy(dialog);
    // Let the box disappear before the GLUT window repaints.
    while (gtk->eventsPending())
        gtk->mainIterationDo(FALSE);
}
