#pragma once

#include "office/doc/Document.h"
#include "office/doc/FindSettings.h"
#include "office/ole/CellGridClipboard.h"
#include "office/ole/OfficeStatus.h"

#include <QString>

#include <memory>
#include <vector>

namespace office::doc {

class Application;

/// The open documents of an application.
class Documents {
public:
    explicit Documents(Application *application) : m_application(application) {}

    int count() const { return int(m_documents.size()); }
    /// A new empty document ("Dokument1", "Dokument2", ...), which becomes the active one.
    Document *add();
    /// Opens an RTF or Word 97-2003 file; it becomes the active document. nullptr, with the reason in
    /// status, for a file that cannot be read.
    Document *open(const QString &path, Status *status = nullptr);
    /// Document by file name (case-insensitive), nullptr when none is open.
    Document *item(const QString &name) const;
    /// Document n (1-based, in the order opened), nullptr when out of range.
    Document *item(int n) const;

    /// Removes and destroys a document (Document::close calls this).
    void remove(Document *document);

private:
    Application *m_application;
    std::vector<std::unique_ptr<Document>> m_documents;
    int m_created = 0;
};

/// The document engine's application object: documents, the active document and
/// its selection, the find options shared by every search, and the clipboard.
class Application {
public:
    /// The clipboard may be shared with the workbook engine; without one, Copy and
    /// Paste do nothing.
    explicit Application(CellGridClipboard *clipboard = nullptr) : m_documents(this), m_clipboard(clipboard) {}
    Application(const Application &) = delete;
    Application &operator=(const Application &) = delete;

    Documents &documents() { return m_documents; }
    /// The document last added, opened or activated; nullptr when none is open.
    Document *activeDocument() const { return m_active; }
    void activate(Document *document) { m_active = document; }
    /// Selection of the active document; nullptr when no document is open.
    Selection *selection() { return m_active ? &m_active->selection() : nullptr; }
    FindSettings &findSettings() { return m_findSettings; }
    CellGridClipboard *clipboard() const { return m_clipboard; }

private:
    Documents m_documents;
    Document *m_active = nullptr;
    FindSettings m_findSettings;
    CellGridClipboard *m_clipboard;
};

}  // namespace office::doc
