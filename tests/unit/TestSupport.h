#pragma once

#include "FileSizeLimit.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QString>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <optional>

namespace nuvo::test {

// Sets an environment variable for one scope and puts the old state back.
class ScopedEnv {
public:
    ScopedEnv(const char* name, const QByteArray& value) : name_(name)
    {
        if (qEnvironmentVariableIsSet(name))
            old_ = qgetenv(name);
        qputenv(name, value);
    }
    ~ScopedEnv()
    {
        if (old_)
            qputenv(name_, *old_);
        else
            qunsetenv(name_);
    }
    ScopedEnv(const ScopedEnv&) = delete;
    ScopedEnv& operator=(const ScopedEnv&) = delete;

private:
    const char* name_;
    std::optional<QByteArray> old_;
};

// Every test works in a temporary directory of its own, which is also its NUVO_HOME.
class TempDirTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(temp_.isValid()); }

    QString path(const QString& relative) const { return QDir(temp_.path()).filePath(relative); }
    QString root() const { return temp_.path(); }

    void writeFile(const QString& relative, const QByteArray& bytes) const
    {
        const QString full = path(relative);
        QDir().mkpath(QFileInfo(full).path());
        QFile file(full);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly)) << full.toStdString();
        file.write(bytes);
    }
    QByteArray readFile(const QString& relative) const
    {
        QFile file(path(relative));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
    }
    void makeDir(const QString& relative) const { ASSERT_TRUE(QDir().mkpath(path(relative))); }

private:
    QTemporaryDir temp_;
    ScopedEnv home_{"NUVO_HOME", QFile::encodeName(temp_.path())};
};

} // namespace nuvo::test

// Readable failure output for Qt strings.
QT_BEGIN_NAMESPACE
inline void PrintTo(const QString& text, std::ostream* out)
{
    *out << '"' << text.toStdString() << '"';
}
inline void PrintTo(const QByteArray& bytes, std::ostream* out)
{
    *out << '"' << bytes.toStdString() << '"';
}
QT_END_NAMESPACE
