// Feeds arbitrary bytes to the saved-file reader, and uses them as a value that must survive a save and load.
#include "net/saved_file.h"

#include <cstddef>
#include <cstdint>

namespace {

using Node = CDownloader_HTMLTags;

void ReadEverything(const QByteArray& bytes) {
    Node root;
    ParseSavedFileBytes(root, bytes);
    std::vector<const Node*> elements;
    root.FindAll(elements, {.tag = QStringLiteral("record")});
    for (const Node* element : elements) {
        int i = 0;
        float f = 0;
        bool b = false;
        QString text;
        Node::GetInt(element, i, -1);
        Node::GetFloat(element, f, -1.0f);
        Node::GetBool(element, b, false);
        Node::GetString(element, text, QString());
    }
    (void)SavedFileBytes(root);
}

void ValueRoundTrip(const QByteArray& bytes) {
    const QString value = QString::fromUtf8(bytes);
    Node root;
    root.AddChild(QStringLiteral("Project1"), false)->AddChild(QStringLiteral("value"), true)->SetText(value);
    Node read;
    ParseSavedFileBytes(read, SavedFileBytes(root));
    QString back;
    if (!Node::GetString(read.FindFirst({.tag = QStringLiteral("value")}), back) || back != value)
        __builtin_trap();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    ReadEverything(bytes);
    ValueRoundTrip(bytes);
    return 0;
}
