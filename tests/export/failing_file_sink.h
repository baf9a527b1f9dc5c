#pragma once

// A file sink that fails on demand. It writes through the program's own sink, so whatever
// it writes before a failure really reaches the temporary file, and a test sees what the
// program leaves on disk afterwards.
//
//   SetFileSinkFactory(TFailingFileSink::Factory({.WriteLimit = 100}));
//   QVERIFY(!WriteDemandDataFile(name));   // the 101st byte fails
//   SetFileSinkFactory({});

#include <algorithm>
#include <memory>

#include "export/file_sink.h"

class TFailingFileSink : public IFileSink {
  public:
    struct TFailures {
        bool FailOpen = false;
        qint64 WriteLimit = -1;   // bytes written before a write fails; -1: no limit
        bool FailCommit = false;  // the temporary file is given up instead of put in place
    };

    explicit TFailingFileSink(TFailures failures) : Failures(failures) {}

    static TFileSinkFactory Factory(TFailures failures) {
        return [failures] { return std::make_unique<TFailingFileSink>(failures); };
    }

    bool Open(const QString& name) override { return !Failures.FailOpen && Inner.Open(name); }

    bool Write(std::string_view bytes) override {
        if (Failures.WriteLimit < 0) {
            return Inner.Write(bytes);
        }
        const auto room =
            static_cast<std::size_t>(std::max<qint64>(Failures.WriteLimit - Written, 0));
        const std::string_view accepted = bytes.substr(0, room);
        Written += static_cast<qint64>(accepted.size());
        const bool written = Inner.Write(accepted);
        return written && accepted.size() == bytes.size();
    }

    bool Commit() override {
        if (Failures.FailCommit) {
            Inner.Discard();
            return false;
        }
        return Inner.Commit();
    }

    void Discard() override { Inner.Discard(); }

  private:
    TFailures Failures;
    qint64 Written = 0;
    TSaveFileSink Inner;
};
