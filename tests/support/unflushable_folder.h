#pragma once

// A folder whose entries can no longer reach its disk, made for real: a small disk (ext2, no
// journal) on a loop device whose storage is a file on a tmpfs. Break() takes the folder's own
// block out of that storage and fills the tmpfs: files in the folder are still written and
// flushed, but flushing the folder after a rename fails with "Input/output error". Needs root
// (mounts, a loop device); Folder stays empty when it cannot be made.

#include <fcntl.h>
#include <linux/fiemap.h>
#include <linux/fs.h>
#include <linux/loop.h>
#include <sys/ioctl.h>
#include <sys/mount.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

class TUnflushableFolder {
  public:
    TUnflushableFolder() {
        const QByteArray image = Storage + "/disk.img";
        if (mount("tmpfs", Storage, "tmpfs", 0, "size=4m") != 0 ||
            !QDir().mkdir(Top.filePath("disk"))) {
            return;
        }
        // Every block of the disk has its room in the storage from the start.
        Image = open(image, O_RDWR | O_CREAT | O_CLOEXEC, 0600);
        const int control = open("/dev/loop-control", O_RDWR | O_CLOEXEC);
        Device = "/dev/loop" + QByteArray::number(ioctl(control, LOOP_CTL_GET_FREE));
        close(control);
        Loop = open(Device, O_RDWR | O_CLOEXEC);
        const QStringList format{"LC_ALL=C.UTF-8",
                                 "/usr/sbin/mkfs.ext2",
                                 "-q",
                                 "-b",
                                 "4096",
                                 "-E",
                                 "nodiscard",
                                 "-F",
                                 QFile::decodeName(image)};
        if (fallocate(Image, 0, 0, 2 << 20) == 0 && QProcess::execute("env", format) == 0 &&
            ioctl(Loop, LOOP_SET_FD, Image) == 0 &&
            mount(Device, Storage + "/disk", "ext2", 0, "errors=continue") == 0 &&
            QDir().mkdir(Top.filePath("disk/shared"))) {
            Folder = Top.filePath("disk/shared");
        }
    }
    ~TUnflushableFolder() {
        umount2(Storage + "/disk", MNT_DETACH);
        ioctl(Loop, LOOP_CLR_FD, 0);
        for (const int fd : {Loop, Image}) {
            close(fd);
        }
        umount2(Storage, MNT_DETACH);
    }

    // Once what the folder holds is on the disk, its block goes and the storage fills up.
    bool Break() {
        const int folder = open(QFile::encodeName(Folder), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        alignas(fiemap) char found[sizeof(fiemap) + sizeof(fiemap_extent)]{};
        auto* map = reinterpret_cast<fiemap*>(found);
        map->fm_length = ~0ULL;
        map->fm_flags = FIEMAP_FLAG_SYNC;
        map->fm_extent_count = 1;
        const bool located = syncfs(folder) == 0 && ioctl(folder, FS_IOC_FIEMAP, map) == 0 &&
                             map->fm_mapped_extents == 1;
        close(folder);
        QFile filler(Storage + "/filler");
        const QByteArray page(4096, 'f');
        if (!located ||
            fallocate(Image, FALLOC_FL_PUNCH_HOLE | FALLOC_FL_KEEP_SIZE,
                      off_t(map->fm_extents[0].fe_physical), page.size()) != 0 ||
            !filler.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) {
            return false;
        }
        while (filler.write(page) == page.size()) {
        }
        return true;
    }

    QString Folder;

  private:
    QTemporaryDir Top;
    const QByteArray Storage = QFile::encodeName(Top.path());
    QByteArray Device;
    int Image = -1;
    int Loop = -1;
};
