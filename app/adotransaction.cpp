#include "app/adotransaction.h"

#include "app/adoconnection.h"

TAdoTransaction::TAdoTransaction(TAdoConnection& connection) : connection_(connection) {
    connection_.BeginTrans();
}

TAdoTransaction::~TAdoTransaction() {
    if (!committed_) {
        connection_.RollbackTrans();
    }
}

void TAdoTransaction::Commit() {
    connection_.CommitTrans();
    committed_ = true;
}
