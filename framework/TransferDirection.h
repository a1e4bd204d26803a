#pragma once

// What TransferAll and TransferValues do with a transfer record.
enum class TransferDirection : int {
    SizeOnly = 0,  // report the entry size, touch nothing
    GetValues = 1, // control values into the record
    SetValues = 2, // record into the controls
};
