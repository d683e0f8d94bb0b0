#pragma once
// What the grid file suites share: a temporary folder with its files read and written byte for
// byte, and one entry of a zip file read.

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QString>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <zip.h>

namespace grid_samples {

class GridFileTest : public ::testing::Test
{
protected:
    QString path(const QString& name) const { return QDir(m_dir.path()).filePath(name); }
    QByteArray read(const QString& name) const
    {
        QFile f(path(name));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    void write(const QString& name, const QByteArray& bytes) const
    {
        QFile f(path(name));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }
    QTemporaryDir m_dir;
};

// Reads one entry of a zip file.
inline QByteArray unzipEntry(const QString& zipPath, const char* entry)
{
    int err = 0;
    zip_t* z = zip_open(QFile::encodeName(zipPath).constData(), ZIP_RDONLY, &err);
    if (!z)
        return {};
    QByteArray out;
    zip_stat_t st;
    if (zip_stat(z, entry, 0, &st) == 0) {
        zip_file_t* f = zip_fopen(z, entry, 0);
        out.resize(qsizetype(st.size));
        if (!f || zip_fread(f, out.data(), st.size) != zip_int64_t(st.size))
            out.clear();
        if (f)
            zip_fclose(f);
    }
    zip_discard(z);
    return out;
}

} // namespace grid_samples
