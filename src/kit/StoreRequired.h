#pragma once

class QString;
class QWidget;
class TDMdata;

// Commands that work on the store check it first: when no store is
// connected the user is told so and the command does nothing. A server
// connection that died meanwhile is restored first, quietly when the
// server is there (StoreReconnector).
namespace StoreRequired {

// True when dm is connected and answers; otherwise shows
// "データベースに接続していません" (no store) or that the server cannot be
// reached just now over parent and returns false.
bool ensureConnected(QWidget *parent, TDMdata *dm);

// The message of a server that cannot be reached while it is being
// connected again.
QString unreachableText();

} // namespace StoreRequired
