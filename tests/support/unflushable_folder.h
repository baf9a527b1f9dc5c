#pragma once

// A folder on a small disk (ext2, no journal, on a loop device over a file on a tmpfs; root
// only, else Folder is empty). Break() takes the folder's own block out of the tmpfs and fills
// it: files in the folder are still written and flushed, but a flush of the folder after a
// rename fails with "Input/output error".

#include <QProcess>
#include <QTemporaryDir>

class TUnflushableFolder {
  public:
    TUnflushableFolder() {
        if (Run("mount -t tmpfs -o size=4m tmpfs . && cd \"$0\" && fallocate -l 2m disk.img && "
                "mkfs.ext2 -q -b 4096 -E nodiscard -F disk.img && mkdir disk && "
                "mount -o loop,errors=continue disk.img disk && mkdir disk/shared")) {
            Folder = Top.filePath("disk/shared");
        }
    }
    ~TUnflushableFolder() { Run("umount -l disk; cd / && umount -l \"$0\""); }

    // Once what the folder holds is on the disk, its block goes and the storage fills up.
    bool Break() {
        return Run(
            "sync -f disk/shared && block=$(debugfs -R 'bmap /shared 0' disk.img 2>/dev/null) && "
            "fallocate -p -o $((block * 4096)) -l 4096 disk.img && ! cat /dev/zero >filler "
            "2>/dev/null");
    }

    QString Folder;

  private:
    bool Run(const char* script) {
        const QString shell = "export LC_ALL=C.UTF-8 PATH=$PATH:/usr/sbin; cd \"$0\" && ";
        return QProcess::execute("sh", {"-c", shell + script, Top.path()}) == 0;
    }

    QTemporaryDir Top;
};
