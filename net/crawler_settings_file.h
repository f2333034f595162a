#pragma once

#include "net/html_tags.h"

#include <QByteArray>
#include <QString>

// What a settings file held besides its settings element.
enum class SettingsFileContent {
    Nothing,         // no element and no text: as good as no file
    SettingsAlone,   // the settings element, blank text at most around it
    SettingsAndMore, // the settings element and something else (other elements, text, junk before it)
    NoSettings,      // something, but no settings element
};

// Parses the bytes of a settings file and leaves in document only its settings element, the first
// top-level element named rootName (any case). Its start tag is also found where junk before it (an
// unfinished tag) swallowed it, and the keys of a root without its end tag (a file cut off) go back into it.
// The blank text between its keys is dropped, so the element is saved as one built anew.
SettingsFileContent TakeSettingsElement(const QByteArray& bytes, const QString& rootName,
                                        CDownloader_HTMLTags& document);
