#pragma once
// File names as bytes, for the tests of names that are not UTF-8 (a Latin-1 "é" left by an older
// system): Qt's own paths cannot name such a file, so they are made and listed with the system's
// calls.

#include <QByteArray>
#include <QFile>
#include <QList>
#include <QString>

#include <algorithm>

#include <dirent.h>
#include <gtest/gtest.h>
#include <stdio.h>

namespace testing_support {

// The file at path given the name `bytes` in its folder, for the time of a test: removed at the
// end (Qt's removal of the test's folder would not find it).
class BytesNamedFile
{
public:
    BytesNamedFile(const QString& path, const QString& folder, const QByteArray& bytes)
        : m_path(QFile::encodeName(folder) + '/' + bytes)
    {
        EXPECT_EQ(::rename(QFile::encodeName(path).constData(), m_path.constData()), 0)
            << m_path.toStdString();
    }
    ~BytesNamedFile() { ::remove(m_path.constData()); }
    BytesNamedFile(const BytesNamedFile&) = delete;
    BytesNamedFile& operator=(const BytesNamedFile&) = delete;

private:
    QByteArray m_path;
};

// The names of the folder's entries (but "." and ".."), as bytes, sorted.
inline QList<QByteArray> namesAsBytes(const QString& folder)
{
    QList<QByteArray> out;
    if (DIR* dir = ::opendir(QFile::encodeName(folder).constData())) {
        while (const dirent* e = ::readdir(dir))
            if (QByteArray(e->d_name) != "." && QByteArray(e->d_name) != "..")
                out << QByteArray(e->d_name);
        ::closedir(dir);
    }
    std::sort(out.begin(), out.end());
    return out;
}

} // namespace testing_support
