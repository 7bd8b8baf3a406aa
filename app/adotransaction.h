#pragma once

class TAdoConnection;

// A transaction for the lifetime of the object: begun by the constructor,
// rolled back by the destructor unless Commit() ran, so that an exception
// leaving the scope leaves nothing of the work behind.
//
//   TAdoTransaction transaction(connection);
//   ... statements on commands of that connection ...
//   transaction.Commit();
class TAdoTransaction {
public:
    // Throws EDatabaseError when the transaction cannot be begun.
    explicit TAdoTransaction(TAdoConnection& connection);
    ~TAdoTransaction();
    TAdoTransaction(const TAdoTransaction&) = delete;
    TAdoTransaction& operator=(const TAdoTransaction&) = delete;

    // Throws EDatabaseError when the server refuses; the destructor then
    // rolls back.
    void Commit();
    bool Committed() const { return committed_; }

private:
    TAdoConnection& connection_;
    bool committed_ = false;
};
