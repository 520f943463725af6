#pragma once

#include <QString>

namespace celltrove::count {

/// The counters of one run: a set for the current file and a set for the whole
/// run. Characters are UTF-16 code units. Every counter is a 32-bit signed
/// integer; an addition that would overflow is skipped and counting goes on.
class TextCounter {
public:
    /// With `isTable` false, counts `text` as one cell (characters, words, 1 cell)
    /// in both sets. With `isTable` true, ignores the text and adds `tableCount`
    /// to the run's tables.
    void CountText(const QString &text, bool isTable, qint32 tableCount);
    /// Adds one cell with these characters and words to the file counters.
    void AddFileCounts(qint32 characters, qint32 words);

    qint32 runCharacters() const { return m_runCharacters; }
    qint32 runWords() const { return m_runWords; }
    qint32 runCells() const { return m_runCells; }
    qint32 runTables() const { return m_runTables; }
    qint32 fileCharacters() const { return m_fileCharacters; }
    qint32 fileWords() const { return m_fileWords; }
    qint32 fileCells() const { return m_fileCells; }

    /// Called by the file report after writing.
    void resetFile();
    /// Called by the total report after writing.
    void resetRun();

private:
    qint32 m_runCharacters = 0;
    qint32 m_runWords = 0;
    qint32 m_runCells = 0;
    qint32 m_runTables = 0;
    qint32 m_fileCharacters = 0;
    qint32 m_fileWords = 0;
    qint32 m_fileCells = 0;
};

/// Number of words in `text`: runs of non-separator characters, where digits
/// are separators, except that a number holding "." or "," followed by some
/// other character counts as one word.
qint32 CountWords(const QString &text);

}  // namespace celltrove::count
