#!/bin/bash
# The first process inside the machine wine-vm.sh starts: gives the guest its own pseudo file
# systems and temporary space over the shared root, runs the job and powers off.
export PATH=/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin HOME=/root LANG=C.UTF-8
mount -t proc proc /proc
mount -t sysfs sys /sys
mount -t devtmpfs dev /dev
mkdir -p /dev/pts /dev/shm
# What udev would make: bash's process substitution needs /dev/fd.
ln -sf /proc/self/fd /dev/fd
ln -sf /proc/self/fd/0 /dev/stdin
ln -sf /proc/self/fd/1 /dev/stdout
ln -sf /proc/self/fd/2 /dev/stderr
mount -t devpts devpts /dev/pts
mount -t tmpfs tmpfs /dev/shm
mount -t tmpfs tmpfs /run
dir=$(sed -n 's/.* quaver.job=\([^ ]*\).*/\1/p' /proc/cmdline)
root=$(sed -n 's/.* quaver.root=\([^ ]*\).*/\1/p' /proc/cmdline)
# A fresh /tmp of the guest's own (X and Wine keep sockets and locks there, which the shared
# root cannot hold); a project checked out under the host's /tmp stays where it was.
mkdir -p /run/host-tmp
mount --bind /tmp /run/host-tmp
mount -t tmpfs tmpfs /tmp
case $root in
  /tmp/*) mkdir -p "$root" && mount --bind "/run/host-tmp/${root#/tmp/}" "$root" ;;
esac
ip link set lo up 2>/dev/null || busybox ip link set lo up
# Temporary files of the tests (Wine prefixes among them) on the shared disk, not in /tmp: this
# kernel's tmpfs keeps no user attributes, where Wine stores a file's hidden and system bits.
export TMPDIR=$root/build/vm/tmp
rm -rf "$TMPDIR" && mkdir -p "$TMPDIR"
bash "$dir/vm.job" >"$dir/vm.out" 2>&1
echo $? >"$dir/vm.rc"
sync
echo o >/proc/sysrq-trigger
sleep 60
