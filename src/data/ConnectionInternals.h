#pragma once
// What the data access layer changes in a connection as it uses it: a server connection
// found broken, opened again, inside a transaction or not. For data/ alone.

#include "data/DBTools.h"
#include "data/ServerSession.h"

struct ConnectionInternals {
    static void setBroken(DbConnection& cn, bool broken) { cn.broken_ = broken; }
    static bool broken(const DbConnection& cn) { return cn.broken_; }
    static void setInTransaction(DbConnection& cn, bool in) { cn.inTransaction_ = in; }
    static bool inTransaction(const DbConnection& cn) { return cn.inTransaction_; }
    static void setOpen(DbConnection& cn, bool open) { cn.open_ = open; }
    static ServerSession& session(DbConnection& cn) { return *cn.session_; }
};
