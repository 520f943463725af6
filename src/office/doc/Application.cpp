#include "office/doc/Application.h"

#include "office/doc/DocumentFile.h"

#include <QFileInfo>

namespace office::doc {

Document *Documents::add() {
    ++m_created;
    m_documents.push_back(std::make_unique<Document>(m_application, QStringLiteral("Dokument%1").arg(m_created)));
    m_application->activate(m_documents.back().get());
    return m_documents.back().get();
}

Document *Documents::open(const QString &path, Status *status) {
    auto document = std::make_unique<Document>(m_application, QFileInfo(path).fileName());
    SaveFormat format = SaveFormat::Rtf;
    const Status read = readDocumentFile(path, *document, &format);
    if (status) *status = read;
    if (!read) return nullptr;
    document->markLoaded(path, format);
    m_documents.push_back(std::move(document));
    m_application->activate(m_documents.back().get());
    return m_documents.back().get();
}

Document *Documents::item(const QString &name) const {
    for (const auto &d : m_documents)
        if (d->name().compare(name, Qt::CaseInsensitive) == 0) return d.get();
    return nullptr;
}

Document *Documents::item(int n) const { return n >= 1 && n <= count() ? m_documents[size_t(n - 1)].get() : nullptr; }

void Documents::remove(Document *document) {
    for (auto it = m_documents.begin(); it != m_documents.end(); ++it) {
        if (it->get() != document) continue;
        std::unique_ptr<Document> doomed = std::move(*it);
        m_documents.erase(it);
        if (m_application->activeDocument() == document)
            m_application->activate(m_documents.empty() ? nullptr : m_documents.back().get());
        return;
    }
}

}  // namespace office::doc
