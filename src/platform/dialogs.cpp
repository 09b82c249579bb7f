#include "platform/dialogs.h"

#include <gtk/gtk.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>

namespace platform {

namespace {

bool EnsureGtk() {
    static int state = 0;  // 0 unknown, 1 ready, -1 unavailable
    if (state == 0) state = gtk_init_check(nullptr, nullptr) ? 1 : -1;
    return state == 1;
}

// Lets GTK finish closing the dialog before the frame loop takes over again.
void Flush() {
    while (gtk_events_pending()) gtk_main_iteration_do(FALSE);
}

void AddFilters(GtkFileChooser* chooser, const FileTypes& types) {
    for (const auto& [name, pattern] : types) {
        GtkFileFilter* f = gtk_file_filter_new();
        gtk_file_filter_set_name(f, name.c_str());
        size_t start = 0;
        while (start <= pattern.size()) {
            size_t end = pattern.find(';', start);
            if (end == std::string::npos) end = pattern.size();
            std::string glob = pattern.substr(start, end - start);
            if (!glob.empty()) gtk_file_filter_add_pattern(f, glob.c_str());
            start = end + 1;
        }
        gtk_file_chooser_add_filter(chooser, f);  // takes ownership
    }
}

}  // namespace

std::string WithDefaultExtension(const std::string& path, const std::string& defaultName) {
    size_t dot = defaultName.rfind('.');
    if (dot == std::string::npos || path.empty()) return path;
    size_t slash = path.rfind('/');
    std::string base = slash == std::string::npos ? path : path.substr(slash + 1);
    if (base.find('.') != std::string::npos) return path;
    return path + defaultName.substr(dot);
}

std::vector<std::string> ShowOpenDialog(const std::string& title, const FileTypes& types, bool multiSelect) {
    std::vector<std::string> out;
    if (!EnsureGtk()) return out;
    GtkFileChooserNative* dlg = gtk_file_chooser_native_new(title.c_str(), nullptr, GTK_FILE_CHOOSER_ACTION_OPEN,
                                                            "_Öffnen", "_Abbrechen");
    GtkFileChooser* chooser = GTK_FILE_CHOOSER(dlg);
    gtk_file_chooser_set_local_only(chooser, TRUE);
    gtk_file_chooser_set_select_multiple(chooser, multiSelect ? TRUE : FALSE);
    AddFilters(chooser, types);
    if (gtk_native_dialog_run(GTK_NATIVE_DIALOG(dlg)) == GTK_RESPONSE_ACCEPT) {
        GSList* files = gtk_file_chooser_get_filenames(chooser);
        for (GSList* it = files; it; it = it->next) {
            out.emplace_back(static_cast<char*>(it->data));
            g_free(it->data);
        }
        g_slist_free(files);
    }
    g_object_unref(dlg);
    Flush();
    return out;
}

std::string ShowSaveDialog(const std::string& title, const std::string& defaultName, const FileTypes& types) {
    std::string out;
    if (!EnsureGtk()) return out;
    GtkFileChooserNative* dlg = gtk_file_chooser_native_new(title.c_str(), nullptr, GTK_FILE_CHOOSER_ACTION_SAVE,
                                                            "_Speichern", "_Abbrechen");
    GtkFileChooser* chooser = GTK_FILE_CHOOSER(dlg);
    gtk_file_chooser_set_do_overwrite_confirmation(chooser, TRUE);
    gtk_file_chooser_set_local_only(chooser, TRUE);
    AddFilters(chooser, types);
    if (!defaultName.empty()) gtk_file_chooser_set_current_name(chooser, defaultName.c_str());
    if (gtk_native_dialog_run(GTK_NATIVE_DIALOG(dlg)) == GTK_RESPONSE_ACCEPT) {
        if (char* name = gtk_file_chooser_get_filename(chooser)) {
            out = WithDefaultExtension(name, defaultName);
            g_free(name);
        }
    }
    g_object_unref(dlg);
    Flush();
    return out;
}

void ShellOpen(const std::string& target) {
    if (target.empty()) return;
    // Double fork: the opener is adopted by init, so nobody waits for it and
    // no zombie is left behind.
    pid_t pid = fork();
    if (pid == 0) {
        if (fork() == 0) {
            setsid();
            execlp("xdg-open", "xdg-open", target.c_str(), static_cast<char*>(nullptr));
            _exit(127);
        }
        _exit(0);
    }
    if (pid > 0) waitpid(pid, nullptr, 0);
}

}  // namespace platform
