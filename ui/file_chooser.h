#pragma once

#include <QString>

class QWidget;

namespace dalvero {

// The platform's own dialog for choosing a file to open. Tests replace it
// with a scripted answer, as no person is there to choose.
class FileChooser {
public:
    virtual ~FileChooser() = default;

    // The full path of the file chosen in `folder`, with the platform's
    // separator, or of a name typed there that no file has yet; empty when
    // the user cancels. `nameFilter` is a Qt file
    // dialog filter ("z12345 (z12345);;Alle filer (*)"). A link or shortcut
    // comes back as itself, so that the caller decides what to do with it.
    virtual QString chooseFile(QWidget* parent, const QString& title, const QString& folder,
                               const QString& nameFilter);
};

// The filter that offers the one file of `name`, where a filter can hold it:
// blanks part patterns, and the wildcards would match others.
QString nameFilter(const QString& name);

} // namespace dalvero
