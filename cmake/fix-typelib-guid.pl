#!/usr/bin/perl
# widl 7 writes the last byte of a library's GUID into the type library as
# 0x0D. This puts the byte from the IDL back, so the library registers under
# its real identifier.
# Usage: fix-typelib-guid.pl <file.idl> <file.tlb>
use strict;
use warnings;

my ($idl_file, $tlb_file) = @ARGV;
open(my $idl, '<', $idl_file) or die "$idl_file: $!";
my $source = do { local $/; <$idl> };
close($idl);
$source =~ /uuid\(\s*([0-9A-Fa-f-]{36})\s*\)[^\]]*\]\s*library\b/s
    or die "$idl_file: no library uuid found\n";
my @parts = split(/-/, $1);
my $guid = pack('V', hex($parts[0])) . pack('v', hex($parts[1])) . pack('v', hex($parts[2]))
         . pack('H4', $parts[3]) . pack('H12', $parts[4]);

open(my $tlb, '<:raw', $tlb_file) or die "$tlb_file: $!";
my $data = do { local $/; <$tlb> };
close($tlb);
my $prefix = substr($guid, 0, 15);
my $count = ($data =~ s/\Q$prefix\E[\x00-\xFF]/$guid/g);
die "$tlb_file: library GUID not found\n" unless $count;
open($tlb, '>:raw', $tlb_file) or die "$tlb_file: $!";
print $tlb $data;
close($tlb);
