#pragma once
#include "plugin/parameters/KParameterMapping.h"
#include "plugin/parameters/ParameterBase.h"

// The parameter adapters of the record types. B is ParameterBase (a record
// of the effect) or ParameterBaseCustom (a record of the adapter's own).
template <class B>
class ParameterRecordT : public B {
public:
    using B::B;

    void SetParameter(int, double value, bool quiet) override {
        KParameterMapping::SetFromPosition(this->Record(), value);
        this->Changed(quiet);
    }
    double GetParameter(int) override { return KParameterMapping::Position(this->Record()); }
    double GetParameterDefaultValue(int) override { return KParameterMapping::DefaultPosition(this->Record()); }
    KString GetParameterValueName(int) override { return KParameterMapping::ValueText(this->Record()); }
    KString GetParameterValueNameFrom01(int, double value) override {
        return KParameterMapping::ValueTextFrom01(this->Record(), value);
    }
    double ParseParameterValueName(int, const KString& text) override {
        return KParameterMapping::ParsePosition(this->Record(), text);
    }
    KString GetParameterDefaultValueName(int) override { return KParameterMapping::DefaultValueText(this->Record()); }
    bool IsRandomizable(int) override { return this->Record().HasFlag(KParameterFlag::Randomizable); }
    void Randomize(int, double amount) override {
        KParameterMapping::Randomize(this->Record(), amount);
        this->Changed(false);
    }
};

// Float and integer records can be redirected: SetParameter then writes the
// alternate value, which the processing reads as the working value.
template <class B>
class ParameterNumberT : public ParameterRecordT<B> {
public:
    using ParameterRecordT<B>::ParameterRecordT;

    bool IsReported(int) override { return this->Record().HasFlag(KParameterFlag::Reported); }
    void SetRedirect(int, bool on) override {
        KParameterRecord& record = this->Record();
        if (record.type == KParameterType::Float) record.SetFloatAlternate(record.floating.value);
        else record.SetIntegerAlternate(record.integer.value);
        record.SetFlag(KParameterFlag::Redirect, on);
    }
};

template <class B>
class ParameterFloatT final : public ParameterNumberT<B> {
public:
    using ParameterNumberT<B>::ParameterNumberT;
    int GetParameterType(int) override { return 1; }
};

template <class B>
class ParameterIntT final : public ParameterNumberT<B> {
public:
    using ParameterNumberT<B>::ParameterNumberT;
    int GetParameterType(int) override { return 2; }
};

template <class B>
class ParameterEnumT final : public ParameterRecordT<B> {
public:
    using ParameterRecordT<B>::ParameterRecordT;
    int GetParameterType(int) override { return 3; }
};

template <class B>
class ParameterBoolT final : public ParameterRecordT<B> {
public:
    using ParameterRecordT<B>::ParameterRecordT;
    int GetParameterType(int) override { return 4; }
};

template <class B>
class ParameterGroupT final : public ParameterRecordT<B> {
public:
    using ParameterRecordT<B>::ParameterRecordT;
    int GetParameterType(int) override { return 4; }
};

// Base of object-valued parameters (signal generators): they answer 0 and
// ignore SetParameter unless they say otherwise.
class ParameterSpecialMainBase : public KAudioPlugin::AutomationAdapter {
public:
    double GetParameter(int) override { return 0; }
};
