#pragma once

// How a part of the program uses the store. Reads opens it without writing
// anything: no store or table is made, nothing is upgraded or filled in,
// the engine itself refuses every write and no write lock is ever waited
// for. Writes runs the whole table check of the start-up.
enum class StoreAccess { Reads, Writes };
