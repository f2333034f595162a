#pragma once

#include "projects/common/kind_report.h"

#include <vector>

// A kind report whose rows are the records of one array, item i showing record i.
template <typename Record> class CRecordReport : public CKindReport {
  public:
    CRecordReport(int kind, int index, const std::vector<Record>& records)
        : CKindReport(kind, index), m_records(records) {}

    void UpdateItemCount() override {
        m_itemCount = static_cast<int>(m_records.size());
        CKindReport::UpdateItemCount();
    }

  protected:
    const Record& RecordOf(int item) const { return m_records[static_cast<std::size_t>(item)]; }

    const std::vector<Record>& m_records;
};
