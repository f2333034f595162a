#pragma once

#include "projects/common/service_step.h"

#include <QString>

class CSkinDlg_Base;

// One step of a keyword-tool run (volumes and bids, no suggestions) for keywords, one a line: signed in with
// the account of the settings, paced under the tool's name; its picture-code prompt opens over parent.
CServiceStep::Result RunKeywordTool(CServiceStep& step, const QString& keywords, CSkinDlg_Base* parent);
