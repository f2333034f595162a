#pragma once

#include <QString>

// Text made safe to put into markup or into a quoted script string.

// "&", "<" and ">" as the entities "&amp;", "&lt;" and "&gt;"; "&" first, so no entity is escaped twice.
QString EscapeMarkup(const QString& text);

// For a script string in either quotes: each backslash, double quote and single quote gets a backslash
// before it; a line feed becomes "\n" and a carriage return "\r", so a line break keeps its place in the
// string instead of ending it or vanishing as a line continuation. The result reads back as text.
QString EscapeScriptString(const QString& text);
