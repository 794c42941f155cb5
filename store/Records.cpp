#include "store/Records.h"

QString RecordTypeWord(TRecordType type) {
    return type == TRecordType::Income ? QStringLiteral("Income") : QStringLiteral("Expense");
}
