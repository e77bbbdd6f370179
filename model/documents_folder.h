#pragma once
// Where the model's files live: the village templates, the working copies, the project written
// when a run cannot start, and the HTML summaries.

#include <QString>
#include <QStringList>

namespace model {

// The three village templates, shipped in "ZORVEL_docs" beside the program.
extern const QStringList kTemplateFiles;

// "ZORVEL_docs" under programDir when files can be written there; otherwise (an installed
// program) "ZORVEL_docs" under userDataDir, created and given the missing templates from the
// program's folder. Ends in a separator.
QString DocumentsFolder(const QString& programDir, const QString& userDataDir);
// The same for this program: its own folder and the per-user application data folder.
QString DocumentsFolder();

}  // namespace model
