// The outcome of every operation on the archive, and the tool's exit status.
#pragma once

namespace dvx {

using ResultCode = int;

enum : ResultCode {
    kSuccess = 0,
    kNotOpen = 1,            // no archive is open
    kSeekError = 2,          // a seek to a directory record failed
    kReadError = 3,          // fewer than 64 bytes arrived for a directory record
    kDamaged = 4,            // the header record failed the signature test
    kInvalidChoice = 5,      // the user's choice names neither action
    kNoMemory = 6,           // the transfer buffer could not be allocated
    kOutputOpenFailed = 10,  // a member's output file could not be opened, or its name was refused
    kOutputWriteFailed = 11, // a member's output file was written short or failed to close
    kMemberReadShort = 12,   // a member's data could not be read in full
    kNewCreateFailed = 20,   // dralvenix.new could not be created
    kNewWriteFailed = 21,    // writing dralvenix.new failed
    kLayoutInvalid = 22,     // the new archive's layout cannot be written consistently
};

}  // namespace dvx
