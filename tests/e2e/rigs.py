"""What the scenarios that need root set up: a small file system, a print server of their own.
Each skips the scenario (status 77) with its reason when not run as root."""

import os
import shutil
import subprocess

from talo_e2e import needs_root


def small_disk(s, kilobytes):
    """A tmpfs of that size of the scenario's own (root only), unmounted at the end."""
    needs_root("mounting a small file system")
    path = os.path.join(s.work, "disk")
    os.makedirs(path)
    s.tool("mount", "-t", "tmpfs", "-o", "size=%dk" % kilobytes, "tmpfs", path)
    s.on_close(lambda: subprocess.run(["umount", "-l", path]))
    return path


def fill(folder):
    """Fills the file system of `folder` up to its last byte; returns the filler's path."""
    path = os.path.join(folder, "remplissage")
    with open(path, "wb", buffering=0) as f:
        for size in (65536, 4096, 512, 1):
            try:
                while True:
                    f.write(b"\0" * size)
            except OSError:
                pass
    return path


def private_cups(s):
    """A cupsd of the scenario's own (root only: it runs its backends as root), listening
    on a socket in a folder of its own; returns the socket's path, for CUPS_SERVER."""
    needs_root("running a print server of the scenario's own")
    # The filters run as the user lp: every folder above must let it through.
    base = os.path.join("/tmp", "talo-e2e-cups-%s-%d" % (s.name, os.getpid()))
    shutil.rmtree(base, ignore_errors=True)
    s.on_close(lambda: shutil.rmtree(base, ignore_errors=True))
    for sub in ("conf", "spool", "cache", "state", "log", "tmp"):
        os.makedirs(os.path.join(base, sub))
    os.chmod(base, 0o711)
    os.chmod(os.path.join(base, "tmp"), 0o1777)
    socket = os.path.join(base, "cups.sock")
    with open(os.path.join(base, "conf", "cups-files.conf"), "w") as f:
        f.write("SystemGroup root\nServerRoot {0}/conf\nRequestRoot {0}/spool\n"
                "CacheDir {0}/cache\nStateDir {0}/state\nTempDir {0}/tmp\n"
                "ErrorLog {0}/log/error_log\nAccessLog {0}/log/access_log\n"
                "PageLog {0}/log/page_log\nPrintcap {0}/printcap\n".format(base))
    with open(os.path.join(base, "conf", "cupsd.conf"), "w") as f:
        f.write("Listen %s\nLogLevel warn\nBrowsing Off\nWebInterface No\n"
                "DefaultAuthType None\n<Location />\n  Order allow,deny\n  Allow all\n"
                "</Location>\n<Policy default>\n  <Limit All>\n    Order deny,allow\n"
                "  </Limit>\n</Policy>\n" % socket)
    s.spawn(["/usr/sbin/cupsd", "-f", "-c", base + "/conf/cupsd.conf", "-s",
                base + "/conf/cups-files.conf"], log=os.path.join(s.work, "cupsd.log"))
    s.wait_for(lambda: os.path.exists(socket) and "scheduler is running" in s.tool(
        "lpstat", "-h", socket, "-r", check=False), "cupsd", timeout=30)
    return socket
