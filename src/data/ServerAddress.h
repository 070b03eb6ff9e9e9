#pragma once
// Where the firm records live when they are on a database server: a connection URL
// "postgresql://user@host:port/dbname". The password is never part of it: the client
// library finds it in ~/.pgpass or PGPASSWORD, so the program never keeps one.

#include <QString>
#include <optional>

struct ServerAddress {
    QString user;     // empty: the client library's default (the login name)
    QString host;     // a host name, an IP address (IPv6 without its brackets), or a folder holding
                      // the server's Unix socket; empty: the default
    int port = 0;     // 0: the default port
    QString database; // never empty
    QString sslMode;  // empty: the client library's default

    // The server as the user knows it: "host:port", "[::1]:port", "localhost" or the socket folder.
    QString serverName() const;
    // The URL again, in the form it is kept in the settings.
    QString url() const;
};

enum class AddressProblem {
    NotAnAddress,   // not of the form postgresql://user@host:port/dbname
    NoDatabase,     // the database name is missing
    HasPassword,    // a password written into the address
    UnknownSetting, // a "?name=value" the program does not pass on
    BadPort,        // a port that is no number from 1 to 65535
};

struct ParsedAddress {
    std::optional<ServerAddress> address;
    AddressProblem problem = AddressProblem::NotAnAddress;
};

// Reads a connection URL; the scheme is "postgresql" or "postgres". The host may also
// be given as "?host=/folder" (a Unix socket folder), as the client library allows, and
// an IPv6 address in brackets ("postgresql://ann@[::1]:5432/clients").
ParsedAddress parseServerAddress(const QString& url);

// A text the user gave as an address, fit to be shown: a password in it (after the user
// name, or as a "password=" setting) replaced by "****", whether or not the rest of it
// is an address the program can use.
QString withoutPassword(const QString& url);
