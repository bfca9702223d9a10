#pragma once
#include <cstdint>

// The keyboard picture as the read-back sees it: it clears every mark and marks the keys that own
// a slot. Each call redraws.
class IKeyPicture {
public:
    virtual ~IKeyPicture() = default;
    virtual void UncheckAllKeys() = 0;
    // Checks the first key whose id is `code` (1-255); a code no key has changes nothing.
    virtual void CheckKey(uint8_t code) = 0;
};
