// Where the model's files are written.
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "model/documents_folder.h"

namespace {

void writeFile(const QString& path, const QByteArray& content) {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(content);
}

QByteArray readFile(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

}  // namespace

TEST(DocumentsFolder, BesideTheProgramWhenWritable) {
    QTemporaryDir program, user;
    QDir(program.path()).mkdir("ZORVEL_docs");
    EXPECT_EQ(model::DocumentsFolder(program.path(), user.path()), program.path() + "/ZORVEL_docs/");
    EXPECT_FALSE(QDir(user.path() + "/ZORVEL_docs").exists());
}

TEST(DocumentsFolder, PerUserFolderSeededWithTheTemplatesWhenTheProgramsIsReadOnly) {
    QTemporaryDir program, user;
    const QString shipped = program.path() + "/ZORVEL_docs";
    QDir(program.path()).mkdir("ZORVEL_docs");
    for (const QString& name : model::kTemplateFiles)
        writeFile(shipped + "/" + name, name.toUtf8());
    const QString own = user.path() + "/ZORVEL_docs/";
    QDir().mkpath(own);
    writeFile(own + model::kTemplateFiles[0], "edited by the user");
    QFile::setPermissions(shipped, QFile::ReadOwner | QFile::ExeOwner);
    QFile probe(shipped + "/probe");
    const bool stillWritable = probe.open(QIODevice::WriteOnly);
    probe.remove();
    QFile::setPermissions(shipped, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    if (stillWritable)
        GTEST_SKIP() << "permissions do not apply to this user";
    QFile::setPermissions(shipped, QFile::ReadOwner | QFile::ExeOwner);

    EXPECT_EQ(model::DocumentsFolder(program.path(), user.path()), own);
    EXPECT_EQ(readFile(own + model::kTemplateFiles[0]), "edited by the user");
    EXPECT_EQ(readFile(own + model::kTemplateFiles[2]), model::kTemplateFiles[2].toUtf8());
    QFile::setPermissions(shipped, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

TEST(DocumentsFolder, PerUserFolderWhenTheProgramHasNone) {
    QTemporaryDir program, user;
    writeFile(program.path() + "/ZORVEL_docs", "not a folder");
    const QString own = model::DocumentsFolder(program.path(), user.path() + "/deeper");
    EXPECT_EQ(own, user.path() + "/deeper/ZORVEL_docs/");
    EXPECT_TRUE(QDir(own).exists());
}
