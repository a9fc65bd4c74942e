#pragma once

#include <QFile>
#include <QString>

#include <linux/capability.h>
#include <sys/syscall.h>
#include <unistd.h>

// Makes a folder that this thread cannot write into while the object lives, root or not: root's override of file
// permissions (CAP_DAC_OVERRIDE) is dropped from the thread's effective set meanwhile, and taken up again after.
class ReadOnlyFolder
{
public:
    explicit ReadOnlyFolder(QString path)
        : m_path(std::move(path))
    {
        QFile::setPermissions(m_path, QFile::ReadOwner | QFile::ExeOwner);
        setOverride(false);
    }
    ~ReadOnlyFolder()
    {
        setOverride(true);
        QFile::setPermissions(m_path, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }
    ReadOnlyFolder(const ReadOnlyFolder&) = delete;
    ReadOnlyFolder& operator=(const ReadOnlyFolder&) = delete;

private:
    static void setOverride(bool on)
    {
        __user_cap_header_struct header { _LINUX_CAPABILITY_VERSION_3, 0 };
        __user_cap_data_struct data[2] {};
        if (syscall(SYS_capget, &header, data) != 0)
            return;
        const quint32 bit = 1u << CAP_DAC_OVERRIDE;
        data[0].effective = on ? data[0].effective | (data[0].permitted & bit) : data[0].effective & ~bit;
        syscall(SYS_capset, &header, data);
    }

    QString m_path;
};
