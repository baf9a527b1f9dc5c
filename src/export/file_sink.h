#pragma once

// Where the two file writers put their bytes.
//
// A new file is written beside its target under a temporary name and put in place of the
// target only after every byte was written and the file closed without error. A save that
// fails therefore leaves no partly written file, and a file of the same name from an
// earlier save stays as it was.
//
// The writers take their sink from NewFileSink(); a test installs a factory whose sinks
// fail on demand.

#include <QSaveFile>
#include <QString>
#include <functional>
#include <memory>
#include <string_view>

class IFileSink {
  public:
    virtual ~IFileSink() = default;

    // Starts a new file that is to replace the file called name. False when it cannot be
    // created.
    virtual bool Open(const QString& name) = 0;
    // False when not all of bytes were written.
    virtual bool Write(std::string_view bytes) = 0;
    // Closes the new file and puts it in place of the target. False when that failed; the
    // target is then as it was before Open.
    virtual bool Commit() = 0;
    // Gives the new file up after a failure; the target stays as it was before Open.
    virtual void Discard() = 0;
};

// The sink of the program, over QSaveFile.
class TSaveFileSink : public IFileSink {
  public:
    bool Open(const QString& name) override;
    bool Write(std::string_view bytes) override;
    bool Commit() override;
    void Discard() override;

  private:
    QSaveFile File;
};

using TFileSinkFactory = std::function<std::unique_ptr<IFileSink>()>;

// A new sink from the factory in force: TSaveFileSink until another is installed.
std::unique_ptr<IFileSink> NewFileSink();
// Installs factory; an empty one restores TSaveFileSink.
void SetFileSinkFactory(TFileSinkFactory factory);
