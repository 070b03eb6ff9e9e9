#pragma once
// What went wrong with the records server, as the program tells it, and what became of
// the request's writes.

enum class ServerProblem {
    Unreachable,     // nothing answers at the address
    NoAnswer,        // the server took the connection or the request and did not answer in time
    Refused,         // the server answered and refused: password, user or database
    PasswordMissing, // the server wants a password and none was found
    ConnectionLost,  // an open connection broke (server stopped, connection terminated)
    InUse,           // held by others: a lock not granted in time
    TimedOut,        // the server stopped a request that ran past the statement timeout
    NotPermitted,    // the role lacks a right on the records (named in the message)
    NewerSchema,     // the records were written by a newer version of the program
    ForeignTable,    // the database holds a records table the program did not make
    Failed,          // any other refusal of a request
};

// What a failed request left behind.
enum class WriteOutcome {
    NothingWritten, // the transaction was certainly rolled back (or never started)
    Unknown,        // the connection broke while the server was committing: all or nothing
};

// The right a role lacked, by what the refused statement did.
enum class MissingRight {
    None,
    Read,   // SELECT on the records tables
    Change, // INSERT and DELETE on the firm records
    Create, // CREATE on the schema, to make the tables on first use
};
