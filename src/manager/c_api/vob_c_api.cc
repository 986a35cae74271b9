// C interface of the in-process server (filled in with the manager).
