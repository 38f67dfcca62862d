#pragma once
// Entries of the Files group: what went wrong with the viewer's own files.

enum FilesText : int {
    FilesNotSaved = 0, // %1 the file, %2 why
};
