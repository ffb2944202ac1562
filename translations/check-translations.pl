#!/usr/bin/perl
# Fails when a Japanese text of the given source files has no finished English translation in
# the .ts file: every string literal (adjacent literals joined, as the compiler joins them) that
# holds a non-ASCII character is a text the user sees.
#   check-translations.pl kinetta_en.ts SOURCE...
# A missing text is printed as a <message> to paste into the .ts, its translation to fill in.
use strict;
use warnings;

my ($ts, @sources) = @ARGV;
die "usage: check-translations.pl TS SOURCE...\n" unless $ts && @sources;

sub XmlText {
  my ($s) = @_;
  $s =~ s/&lt;/</g; $s =~ s/&gt;/>/g; $s =~ s/&quot;/"/g; $s =~ s/&apos;/'/g; $s =~ s/&amp;/&/g;
  return $s;
}
sub Xml {
  my ($s) = @_;
  $s =~ s/&/&amp;/g; $s =~ s/</&lt;/g; $s =~ s/>/&gt;/g;
  return $s;
}
# The text a C++ literal's contents stand for (the escapes the sources use).
sub Unescape {
  my ($s) = @_;
  $s =~ s/\\(.)/$1 eq 'n' ? "\n" : $1 eq 't' ? "\t" : $1/ge;
  return $s;
}

local $/;
open my $in, '<:raw', $ts or die "$ts: $!\n";
my $catalogue = <$in>;
close $in;
my %translated;
while ($catalogue =~ m{<message>\s*<source>((?:(?!</source>).)*)</source>\s*
                       (<comment>.*?</comment>\s*)?<translation([^>]*)>(.*?)</translation>}gsx) {
  my ($source, $comment, $attributes, $translation) = ($1, $2, $3, $4);
  # A translation for one place only (a comment says which) is no translation of the text.
  next if $comment || $attributes =~ /unfinished|vanished|obsolete/ || $translation eq '';
  $translated{XmlText($source)} = 1;
}

my %missing;
for my $file (@sources) {
  open my $h, '<:raw', $file or die "$file: $!\n";
  my $text = <$h>;
  close $h;
  $text =~ s{/\*.*?\*/}{}gs;
  $text =~ s{^\s*//[^\n]*}{}gm;
  $text =~ s{(;|\{|\)|,)\s*//[^\n]*}{$1}g;
  while ($text =~ /((?:"(?:[^"\\\n]|\\.)*"\s*)+)/g) {
    my ($literal, $joined) = ($1, '');
    $joined .= $1 while $literal =~ /"((?:[^"\\\n]|\\.)*)"/g;
    next unless $joined =~ /[\x80-\xff]/;
    my $source = Unescape($joined);
    push @{$missing{$source}}, $file unless $translated{$source};
  }
}

exit 0 unless %missing;
print STDERR scalar(keys %missing), " text(s) without an English translation in $ts:\n";
for my $source (sort keys %missing) {
  my %seen;
  my @files = grep { !$seen{$_}++ } @{$missing{$source}};
  print STDERR "    <!-- @files -->\n    <message>\n        <source>", Xml($source),
    "</source>\n        <translation></translation>\n    </message>\n";
}
exit 1;
