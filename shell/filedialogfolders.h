#pragma once
// Where file dialogs start: the folder last used for the same kind of file
// (kept in the settings, "Workspace" section), else the user's documents
// folder; never the program's working folder. The kind is the request's
// default extension, else the first pattern of its filter.
#include <QString>

#include <string>

struct FileDialogRequest;

class CFileDialogFolders {
public:
    // The kind of file a request asks for: "proj", "*.tbl;*.tbf", ...;
    // empty when it names none.
    static std::string Kind(const FileDialogRequest& request);
    // The request's own folder when it has one; else the folder remembered
    // for its kind while that folder still exists; else the documents folder.
    static QString StartFolder(const FileDialogRequest& request);
    // The folder of `chosen` becomes the one remembered for the kind.
    static void Remember(const FileDialogRequest& request, const QString& chosen);

    // The same store for files the program names without a file dialog of
    // its own (the print dialog's output file): the folder remembered for
    // `kind` while it still exists, else empty.
    static QString LastFolder(const std::string& kind);
    static void RememberFolder(const std::string& kind, const QString& chosen);
    // The user's documents folder, else the home folder.
    static QString DocumentsFolder();
};
