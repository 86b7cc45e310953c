R IN.DAT='in.dat
W 'OUT=out'
P prog
r
P
