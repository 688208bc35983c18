#pragma once

class QWidget;
class TDMdata;

// Commands that work on the store check it first: when no store is
// connected the user is told so and the command does nothing.
namespace StoreRequired {

// True when dm is connected; otherwise shows "データベースに接続していません"
// over parent and returns false.
bool ensureConnected(QWidget *parent, const TDMdata *dm);

} // namespace StoreRequired
