#pragma once

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <memory>

namespace zentrova::test {

// Points HOME at a fresh temporary folder for one test and recomputes the application paths;
// the old HOME comes back afterwards.
class TempHome {
public:
    TempHome();
    ~TempHome();
    QString path() const { return dir->path(); }
    // A file below the temporary home with the given bytes; parents are made.
    QString write(const QString& relative, const QByteArray& bytes) const;

private:
    std::unique_ptr<QTemporaryDir> dir;
    QByteArray oldHome;
    bool hadHome;
};

class TempHomeTest : public ::testing::Test {
protected:
    TempHome home;
};

QByteArray readFile(const QString& path);

} // namespace zentrova::test
