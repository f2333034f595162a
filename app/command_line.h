#pragma once

#include <QString>
#include <QStringList>

// The program's arguments after the executable as one command-line text, as the crawler keeps it: separated
// by single spaces, an argument with a blank in double quotes.
QString JoinCommandLine(const QStringList& arguments);
