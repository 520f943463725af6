#include "count/TextCounter.h"

namespace celltrove::count {

namespace {

// Adds unless the sum leaves the 32-bit range; an overflowing addition is dropped.
void addChecked(qint32 &counter, qint32 amount) {
    qint32 sum;
    if (!__builtin_add_overflow(counter, amount, &sum)) counter = sum;
}

}  // namespace

void TextCounter::CountText(const QString &text, bool isTable, qint32 tableCount) {
    if (isTable) {
        addChecked(m_runTables, tableCount);
        return;
    }
    // A QString never exceeds the qint32 range on the sizes we handle, but clamp anyway.
    const qint32 characters = static_cast<qint32>(qMin<qsizetype>(text.size(), INT32_MAX));
    const qint32 words = CountWords(text);
    addChecked(m_runCharacters, characters);
    addChecked(m_runCells, 1);
    addChecked(m_runWords, words);
    AddFileCounts(characters, words);
}

void TextCounter::AddFileCounts(qint32 characters, qint32 words) {
    addChecked(m_fileCharacters, characters);
    addChecked(m_fileCells, 1);
    addChecked(m_fileWords, words);
}

void TextCounter::resetFile() {
    m_fileCharacters = 0;
    m_fileWords = 0;
    m_fileCells = 0;
}

void TextCounter::resetRun() {
    m_runCharacters = 0;
    m_runWords = 0;
    m_runCells = 0;
    m_runTables = 0;
}

}  // namespace celltrove::count
