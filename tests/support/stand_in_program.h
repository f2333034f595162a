#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>
#include <QTemporaryDir>

namespace twtest {

// A program of the test's own, first on PATH while this lives: a shell script in a folder of its own. The
// program under test starts it in place of the real one of that name (the desktop's opener, for example).
class StandInProgram {
  public:
    StandInProgram(const QString& name, const QByteArray& script) : m_oldPath(qgetenv("PATH")) {
        QFile file(m_dir.filePath(name));
        m_ready = m_dir.isValid() && file.open(QIODevice::WriteOnly) &&
                  file.write("#!/bin/sh\n" + script + "\n") > 0;
        file.close();
        m_ready = m_ready && file.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        qputenv("PATH", QFile::encodeName(m_dir.path()) + ":" + m_oldPath);
    }
    ~StandInProgram() { qputenv("PATH", m_oldPath); }
    StandInProgram(const StandInProgram&) = delete;
    StandInProgram& operator=(const StandInProgram&) = delete;

    bool IsReady() const { return m_ready; }
    // The program's folder, free for the test's other files.
    QString FilePath(const QString& name) const { return m_dir.filePath(name); }

  private:
    QTemporaryDir m_dir;
    QByteArray m_oldPath;
    bool m_ready = false;
};

} // namespace twtest
