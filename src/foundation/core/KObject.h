#pragma once

// Root of the framework's class tree.
class KObject {
public:
    virtual ~KObject() = default;
};

// An object that receives framework events (kind and payload are defined by
// the sender).
class KEventTarget : public KObject {
public:
    virtual void OnEvent(int kind, void* data) {
        (void)kind;
        (void)data;
    }
};
