#pragma once

namespace mlk {

class Database;

// Makes sure the database holds the eight tables, their indexes and, where the tables are
// empty, the reference rows of divisions and institution types. A complete database is only
// read; a write transaction is opened only to create what is missing. Refuses, without writing
// anything, a file that is not a database.
void EnsureSchema(Database& db);

// Refuses, naming the file, a database that lacks a table or a column of the program or that a
// newer build made (its schema version above this build's): what a backup must pass before it
// may replace the database.
void RequireProgramSchema(Database& db);

}  // namespace mlk
